#include "inspection/vray_machine.h"

#include "python/compat.h"

namespace vanalyzer::inspection {

python::Ref compareVRayMachine(PyObject*) { return python::boolean(false); }

}  // namespace vanalyzer::inspection
