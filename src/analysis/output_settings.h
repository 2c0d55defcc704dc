// The job's output settings taken from the render layers: the image extension and the file-name
// prefix common to the layers.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// "exr" when every layer writes EXR images (any case), else the empty text.
python::Ref outputExtension(const Analyzer& analyzer);

// The first layer's prefix when every layer that has one agrees with it ignoring case, else the
// empty text; a failure while comparing is logged and gives the empty text.
python::Ref commonLayerPrefix(const Analyzer& analyzer);

}  // namespace vanalyzer::analysis
