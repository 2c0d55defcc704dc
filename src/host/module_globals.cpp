#include "host/module_globals.h"

#include "python/compat.h"
#include "python/objects.h"

namespace vanalyzer::host {
namespace {
// Held for the life of the process and never released: a static Ref would be released by the C++
// runtime at exit, after the interpreter that owns the object is gone.
PyObject* dictionary = nullptr;
}  // namespace

void bindModuleDictionary(python::Ref moduleDictionary) {
  python::Ref previous = python::Ref::steal(dictionary);
  dictionary = moduleDictionary.release();
}

python::Ref moduleGlobal(const char* name) {
  python::Ref key = python::text(name);
  if (PyObject* value = PyObject_GetItem(dictionary, key.get())) {
    return python::Ref::steal(value);
  }
  if (!PyErr_ExceptionMatches(PyExc_KeyError)) throw python::Error();
  PyErr_Clear();
  PyErr_SetObject(PyExc_NameError, python::undefinedNameMessage(name).get());
  throw python::Error();
}

}  // namespace vanalyzer::host
