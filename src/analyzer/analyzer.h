// The analyzer instance as the steps see it. Its state lives in the instance's ordinary __dict__,
// so an attribute exists once the step that sets it has run, and outside callers may read, set
// and override anything.
#pragma once

#include "python/objects.h"

namespace vanalyzer {

class Analyzer {
 public:
  explicit Analyzer(PyObject* self) : self_(self) {}

  PyObject* object() const { return self_; }
  python::Ref get(const char* name) const { return python::attribute(self_, name); }
  void set(const char* name, const python::Ref& value) const { python::setAttribute(self_, name, value); }

  // Calls one of the analyzer's own operations through the instance, so that a subclass or an
  // outside caller that replaces an operation is honoured.
  template <class... Arguments>
  python::Ref call(const char* operation, const Arguments&... arguments) const {
    return python::callMethod(self_, operation, arguments...);
  }

  // Records a detected problem's status; a warning never lowers an error already recorded.
  void recordStatus(long long status) const;
  // Appends a code (as given) to errorCodes.
  void appendErrorCode(const python::Ref& code) const;
  void appendErrorCode(int code) const;

 private:
  PyObject* self_;  // borrowed: the interpreter holds the instance for the whole call
};

}  // namespace vanalyzer
