// Binding call arguments to named parameters, with the interpreter's own error texts.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "python/ref.h"

namespace vanalyzer {

struct Signature {
  const char* function;                      // name shown in errors
  std::initializer_list<const char*> names;  // parameters after the instance
  std::size_t required;                      // leading parameters without a default
  std::size_t implicit;                      // 1 for methods: the instance counts in the messages
};

// Positional arguments first, then keywords by name; parameters with a default that were not given
// stay empty for the caller to fill in. Raises TypeError like the interpreter for too many or too
// few arguments, an unknown keyword, or a parameter given twice.
std::vector<python::Ref> bindArguments(const Signature& signature, PyObject* positional, PyObject* keywords);

}  // namespace vanalyzer
