// Whether the scene's renderer suits the CPU or GPU machine the service requested.
#pragma once

#include "python/ref.h"

namespace vanalyzer::inspection {

python::Ref getMachineInfo(PyObject* self);

}  // namespace vanalyzer::inspection
