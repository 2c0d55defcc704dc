// Older VRay versions on machines with many cores.
#pragma once

#include "python/ref.h"

namespace vanalyzer::inspection {

python::Ref compareVRayMachine(PyObject* self);

}  // namespace vanalyzer::inspection
