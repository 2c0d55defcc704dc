#include "analysis/message_text.h"

#include <string>
#include <vector>

#include "python/compat.h"

namespace vanalyzer::analysis {

python::Ref asUnicode(const python::Ref& value, std::initializer_list<const char*> encodings) {
  if (!python::isBytes(value.get())) return value;
  const std::string bytes = python::pathText(value.get());
  const auto size = static_cast<Py_ssize_t>(bytes.size());
  std::vector<const char*> candidates{"ascii"};
  candidates.insert(candidates.end(), encodings);
  for (size_t i = 0; i + 1 < candidates.size(); ++i) {
    if (PyObject* decoded = PyUnicode_Decode(bytes.data(), size, candidates[i], "strict")) {
      return python::Ref::steal(decoded);
    }
    if (!PyErr_ExceptionMatches(PyExc_UnicodeDecodeError)) throw python::Error();
    PyErr_Clear();  // not this encoding; the next one is tried
  }
  return python::require(PyUnicode_Decode(bytes.data(), size, candidates.back(), "strict"));
}

}  // namespace vanalyzer::analysis
