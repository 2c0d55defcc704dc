#include "python/caught_error.h"

namespace python {

CaughtError CaughtError::fetch() {
  PyObject* type = nullptr;
  PyObject* value = nullptr;
  PyObject* traceback = nullptr;
  PyErr_Fetch(&type, &value, &traceback);
  PyErr_NormalizeException(&type, &value, &traceback);
  CaughtError error;
  error.type_ = Ref::steal(type);
  error.value_ = Ref::steal(value);
  error.traceback_ = Ref::steal(traceback);
  return error;
}

Ref CaughtError::representation() const {
  return require(PyObject_Repr(value_ ? value_.get() : type_.get()));
}

Ref CaughtError::message() const {
  PyObject* subject = value_ ? value_.get() : type_.get();
  if (PyObject* text = PyObject_Str(subject)) return Ref::steal(text);
  PyErr_Clear();
  return require(PyObject_Repr(subject));
}

bool CaughtError::isOrdinary() const {
  return PyErr_GivenExceptionMatches(type_.get(), PyExc_Exception) != 0;
}

void CaughtError::restore() {
  PyErr_Restore(type_.release(), value_.release(), traceback_.release());
}

}  // namespace python
