// runMain: one analysis, the result handed to the service, then the host's process tree ends.
#pragma once

#include "python/ref.h"

namespace vanalyzer {

python::Ref runMain(PyObject* module, PyObject* positional, PyObject* keywords);

}  // namespace vanalyzer
