// scenegraph: the host's scene graph for the offline maya.cmds stand-in. One class, Graph; its
// methods answer the commands' questions (graph_methods.cpp).
#include "graph_methods.h"
#include "mayascene/reader.h"
#include "python/compat.h"
#include "python/module_entry.h"
#include "python/objects.h"

namespace {

using python::Ref;

PyMethodDef moduleFunctions[] = {{nullptr, nullptr, 0, nullptr}};

// PyModule_AddObject steals the reference only when it succeeds.
void addToModule(PyObject* module, const char* name, Ref value) {
  python::requireStatus(PyModule_AddObject(module, name, value.get()));
  value.release();
}

Ref loadModule() {
  Ref module = python::createModule("scenegraph", moduleFunctions,
                                    "The host's scene graph: the opened scene and its references, for maya.cmds.");
  // 2.7 declares the name parameter without const; it does not write to it.
  Ref errorClass =
      python::require(PyErr_NewException(const_cast<char*>("scenegraph.ParseError"), PyExc_ValueError, nullptr));
  scenegraph_python::setParseErrorClass(errorClass.get());
  addToModule(module.get(), "ParseError", Ref(errorClass));
  errorClass.release();  // the methods keep it for the life of the process

  addToModule(module.get(), "DEFAULT_MAX_VALUE_BYTES",
              python::integer(static_cast<long long>(mayascene::kDefaultMaxValueBytes)));

  Ref base = python::createOperationsBase("scenegraph.GraphOperations", scenegraph_python::graphMethods());
  Ref namespaceDictionary = python::newDict();
  python::setItem(namespaceDictionary.get(), "__module__", python::text("scenegraph").get());
  python::setItem(namespaceDictionary.get(), "__doc__",
                  python::text("Graph(): every node of a scene and of the references added to it.").get());
  Ref graphClass = python::call(reinterpret_cast<PyObject*>(&PyType_Type), python::text("Graph"),
                                python::tupleOf({base.get()}), namespaceDictionary);
  addToModule(module.get(), "Graph", graphClass);
  return module;
}

}  // namespace

PYTHON_MODULE_ENTRY(scenegraph, loadModule)
