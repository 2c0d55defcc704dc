#include "analyzer/run_driver.h"

#include "analyzer/call_arguments.h"
#include "analyzer/process_end.h"
#include "host/module_globals.h"
#include "host/service.h"

namespace vanalyzer {

python::Ref runMain(PyObject*, PyObject* positional, PyObject* keywords) {
  const std::vector<python::Ref> arguments =
      bindArguments({"runMain", {"analyzerMode", "isGetRSTemp"}, 2, 0}, positional, keywords);
  python::Ref analyzer = python::call(host::moduleGlobal("Maya_Analyzer").get(), arguments[0], arguments[1]);
  python::Ref finalResult = python::attribute(analyzer.get(), "finalResult");
  python::callMethod(host::vout().get(), "OutResult", finalResult);
  endProcessTree();
  return python::Ref::borrow(Py_None);
}

}  // namespace vanalyzer
