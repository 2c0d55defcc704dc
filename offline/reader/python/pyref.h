// Owning handle for a Python reference (the reader module's own, until the project-wide one is
// shared). Construction says whether the reference is stolen (a new reference from an API call)
// or borrowed (one we must add to).
#pragma once

#include <Python.h>

#include <utility>

namespace mayaascii_py {

// Thrown when a Python API call failed and left its exception set; the entry guard passes it on.
struct PythonError {};

class Ref {
 public:
  Ref() = default;
  static Ref steal(PyObject* o) { return Ref(o); }
  static Ref borrow(PyObject* o) {
    Py_XINCREF(o);
    return Ref(o);
  }
  // A new reference from an API call that returns NULL with an exception set on failure.
  static Ref check(PyObject* o) {
    if (o == nullptr) throw PythonError();
    return Ref(o);
  }
  Ref(const Ref& o) : p_(o.p_) { Py_XINCREF(p_); }
  Ref(Ref&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  Ref& operator=(Ref o) noexcept {
    std::swap(p_, o.p_);
    return *this;
  }
  ~Ref() { Py_XDECREF(p_); }

  PyObject* get() const { return p_; }
  // Hands the reference to the caller (an API that steals, or a function's return value).
  PyObject* release() {
    PyObject* o = p_;
    p_ = nullptr;
    return o;
  }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  explicit Ref(PyObject* o) : p_(o) {}
  PyObject* p_ = nullptr;
};

}  // namespace mayaascii_py
