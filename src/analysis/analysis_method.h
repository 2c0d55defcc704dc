// The analysis method: assets, codes and messages, output settings, and the result record.
#pragma once

#include "python/ref.h"

namespace vanalyzer::analysis {

python::Ref AnlyzerSenceFile(PyObject* self);

}  // namespace vanalyzer::analysis
