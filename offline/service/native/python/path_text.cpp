#include "path_text.h"

#include <utility>

namespace servicepaths_python {

using python::Ref;

std::optional<PathBytes> PathBytes::of(PyObject* path) {
  if (PyUnicode_CheckExact(path)) {
    PyObject* encoded = PyUnicode_AsUTF8String(path);
    if (encoded == nullptr) {
      PyErr_Clear();
      return std::nullopt;
    }
    Ref holder = Ref::steal(encoded);
    return PathBytes(std::move(holder), std::string_view(PyBytes_AsString(encoded), PyBytes_Size(encoded)), true);
  }
#ifdef VANALYZER_PYTHON2
  if (PyString_CheckExact(path))
    return PathBytes(Ref::borrow(path), std::string_view(PyString_AsString(path), PyString_Size(path)), false);
#endif
  return std::nullopt;
}

Ref PathBytes::cut(std::size_t start, std::size_t end) const {
  const char* data = bytes_.data() + start;
  const auto size = static_cast<Py_ssize_t>(end - start);
  // the bytes came from a strict encoding, so decoding them gives back the same characters
  return python::require(unicode_ ? PyUnicode_DecodeUTF8(data, size, "strict") : PyBytes_FromStringAndSize(data, size));
}

}  // namespace servicepaths_python
