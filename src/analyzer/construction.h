// Maya_Analyzer.__init__: the whole analysis, one fixed sequence of steps.
#pragma once

#include "python/ref.h"

namespace vanalyzer {

python::Ref constructAnalyzer(PyObject* self, PyObject* positional, PyObject* keywords);

}  // namespace vanalyzer
