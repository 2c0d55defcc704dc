#include "analyzer/call_arguments.h"

#include <string>

#include "analyzer/argument_count.h"
#include "python/compat.h"

namespace vanalyzer {
namespace {
[[noreturn]] void raiseTypeError(const std::string& message) {
  PyErr_SetObject(PyExc_TypeError, python::text(message).get());
  throw python::Error();
}
}  // namespace

std::vector<python::Ref> bindArguments(const Signature& signature, PyObject* positional, PyObject* keywords) {
  const std::vector<const char*> names(signature.names);
  const std::size_t total = names.size();
  const std::size_t given = static_cast<std::size_t>(PyTuple_Size(positional));
  const std::size_t keywordCount = keywords ? static_cast<std::size_t>(PyDict_Size(keywords)) : 0;

  if (given > total) {
    raiseTypeError(argumentCountMessage(signature.function,
                                        signature.required == total ? "exactly" : "at most",
                                        total + signature.implicit,
                                        given + keywordCount + signature.implicit));
  }
  std::vector<python::Ref> bound(total);
  for (std::size_t index = 0; index < given; ++index) {
    bound[index] = python::Ref::borrow(PyTuple_GetItem(positional, static_cast<Py_ssize_t>(index)));
  }
  if (keywords) {
    PyObject* key = nullptr;    // borrowed
    PyObject* value = nullptr;  // borrowed
    Py_ssize_t position = 0;
    while (PyDict_Next(keywords, &position, &key, &value)) {
      const std::string name = python::utf8(key);
      std::size_t index = 0;
      while (index < total && name != names[index]) ++index;
      if (index == total) {
        raiseTypeError(std::string(signature.function) + "() got an unexpected keyword argument '" + name + "'");
      }
      if (bound[index]) {
        raiseTypeError(std::string(signature.function) + "() got multiple values for keyword argument '" +
                       name + "'");
      }
      bound[index] = python::Ref::borrow(value);
    }
  }
  std::size_t boundCount = 0;
  bool missing = false;
  for (std::size_t index = 0; index < total; ++index) {
    if (bound[index]) {
      ++boundCount;
    } else if (index < signature.required) {
      missing = true;
    }
  }
  if (missing) {
    raiseTypeError(argumentCountMessage(signature.function,
                                        signature.required == total ? "exactly" : "at least",
                                        signature.required + signature.implicit,
                                        boundCount + signature.implicit));
  }
  return bound;
}

}  // namespace vanalyzer
