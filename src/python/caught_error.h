// A Python exception taken out of the interpreter's error indicator by a guarded block.
#pragma once

#include <exception>
#include <new>

#include "python/ref.h"

namespace python {

class CaughtError {
 public:
  // Takes the pending exception (there must be one) and normalises it.
  static CaughtError fetch();

  // The error's kind and arguments, as a debug print shows them: repr() of the exception.
  Ref representation() const;
  // The error's plain message: str() of the exception (its repr when str() itself fails).
  Ref message() const;
  // Ordinary errors are handled by guarded blocks; KeyboardInterrupt and SystemExit pass through.
  bool isOrdinary() const;
  // Puts the exception back as the pending one.
  void restore();

 private:
  Ref type_, value_, traceback_;
};

// Runs body(); an ordinary Python error raised in it is handed to onFailure(error) and stops
// there, any other error goes on to the caller.
template <class Body, class OnFailure>
void guard(Body&& body, OnFailure&& onFailure) {
  try {
    body();
  } catch (const Error&) {
    CaughtError error = CaughtError::fetch();
    if (!error.isOrdinary()) {
      error.restore();
      throw;
    }
    onFailure(error);
  }
}

// Runs cleanup() while an error is pending and leaves that error pending afterwards; a failure of
// the cleanup itself is dropped, as the first error is the one that matters.
template <class Cleanup>
void cleanUpKeepingError(Cleanup&& cleanup) {
  CaughtError pending = CaughtError::fetch();
  try {
    cleanup();
  } catch (const Error&) {
    PyErr_Clear();
  }
  pending.restore();
}

// The one way into the module from the interpreter: a C++ exception never crosses this line
// (it would end the host application); it becomes a Python exception and a NULL result.
template <class Body>
PyObject* entry(Body&& body) noexcept {
  try {
    return body().release();
  } catch (const Error&) {
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& failure) {
    PyErr_SetString(PyExc_RuntimeError, failure.what());
  } catch (...) {
    PyErr_SetString(PyExc_RuntimeError, "unexpected failure inside vanalyzer");
  }
  return nullptr;
}

}  // namespace python
