// Ownership of Python references.
//
// A Ref owns exactly one reference or nothing. It is made only by saying how:
// Ref::steal(p) takes over a new reference that a call returned, Ref::borrow(p) adds one of its own.
// A null pointer from the interpreter means "a Python error is set"; require() turns it into the
// C++ exception python::Error, which the entry guard turns back into a NULL return.
#pragma once

#include <exception>
#include <utility>

#include "python/python.h"

namespace python {

// Thrown when a Python exception is set and the current operation must unwind.
struct Error : std::exception {
  const char* what() const noexcept override { return "a Python exception is set"; }
};

class Ref {
 public:
  Ref() noexcept = default;
  static Ref steal(PyObject* object) noexcept { return Ref(object); }
  static Ref borrow(PyObject* object) noexcept {
    Py_XINCREF(object);
    return Ref(object);
  }

  Ref(const Ref& other) noexcept : object_(other.object_) { Py_XINCREF(object_); }
  Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  Ref& operator=(Ref other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  ~Ref() { Py_XDECREF(object_); }

  PyObject* get() const noexcept { return object_; }
  // Hands the reference to a caller that steals it (a return value to the interpreter, for instance).
  PyObject* release() noexcept { return std::exchange(object_, nullptr); }
  explicit operator bool() const noexcept { return object_ != nullptr; }

 private:
  explicit Ref(PyObject* object) noexcept : object_(object) {}
  PyObject* object_ = nullptr;
};

// Takes over a new reference, throwing when the call that made it failed.
inline Ref require(PyObject* newReference) {
  if (newReference == nullptr) throw Error();
  return Ref::steal(newReference);
}

// For C API calls that report failure with -1.
inline int requireStatus(int status) {
  if (status < 0) throw Error();
  return status;
}

}  // namespace python
