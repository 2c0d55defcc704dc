#include "inspection/machine_type.h"

#include "python/objects.h"

namespace vanalyzer::inspection {

python::Ref getMachineInfo(PyObject*) {
  python::Ref verdict = python::newDict();
  python::setItem(verdict.get(), "status", python::integer(0).get());
  python::setItem(verdict.get(), "errCode", python::text("").get());
  return verdict;
}

}  // namespace vanalyzer::inspection
