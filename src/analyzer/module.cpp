// Loading the module: the outside modules it binds, the class, the driver.

#include "analyzer/analyzer_class.h"
#include "analyzer/run_driver.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "python/caught_error.h"
#include "python/module_entry.h"
#include "python/objects.h"

namespace vanalyzer {
namespace {

PyObject* runMainEntry(PyObject* module, PyObject* positional, PyObject* keywords) noexcept {
  return python::entry([&] { return runMain(module, positional, keywords); });
}

PyMethodDef moduleFunctions[] = {
    {"runMain", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(runMainEntry)),
     METH_VARARGS | METH_KEYWORDS, nullptr},
    {nullptr, nullptr, 0, nullptr}};

// PyModule_AddObject steals the reference only when it succeeds.
void addToModule(PyObject* module, const char* name, python::Ref value) {
  python::requireStatus(PyModule_AddObject(module, name, value.get()));
  value.release();
}

void bindHostCommands(PyObject* module) {
  python::guard([&] { addToModule(module, "py", python::importModule("maya.cmds")); },
                [](const python::CaughtError&) {
                  host::log(host::LogLevel::Warring, "Cannot Imoport maya.cmds, Maybe Run In Python Mode");
                });
}

python::Ref loadModule() {
  python::Ref module = python::createModule("vanalyzer", moduleFunctions);
  host::bindModuleDictionary(python::Ref::borrow(PyModule_GetDict(module.get())));
  // vout comes before the host import, whose failure is logged through it.
  for (const char* name : {"sys", "json", "vout", "os", "platform", "vfile", "vutils", "re"}) {
    addToModule(module.get(), name, python::importModule(name));
  }
  bindHostCommands(module.get());
  python::Ref moduleName = python::attribute(module.get(), "__name__");
  addToModule(module.get(), "Maya_Analyzer", createAnalyzerClass(python::utf8(moduleName.get()).c_str()));
  if (python::utf8(moduleName.get()) == "__main__") {
    python::call(python::attribute(module.get(), "runMain").get(), python::integer(0), python::integer(0));
  }
  return module;
}

}  // namespace
}  // namespace vanalyzer

PYTHON_MODULE_ENTRY(vanalyzer, vanalyzer::loadModule)
