// Lets other Python threads run while this one waits on the system (a file read, a folder listed
// from a network share) and touches no Python object.
#pragma once

#include "python/python.h"

namespace python {

class InterpreterReleased {
 public:
  InterpreterReleased() : state_(PyEval_SaveThread()) {}
  ~InterpreterReleased() { PyEval_RestoreThread(state_); }
  InterpreterReleased(const InterpreterReleased&) = delete;
  InterpreterReleased& operator=(const InterpreterReleased&) = delete;

 private:
  PyThreadState* state_;
};

}  // namespace python
