// A path value from the service as bytes to decide on, and values of the same kind cut from it.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "python/ref.h"

namespace servicepaths_python {

// Unicode text (as UTF-8) or a 2.7 byte string (as it is); nothing for any other value, including
// text that does not encode (a 3.x name with a lone surrogate), which the rules then take.
class PathBytes {
 public:
  static std::optional<PathBytes> of(PyObject* path);

  std::string_view bytes() const { return bytes_; }
  bool unicode() const { return unicode_; }
  // The text of bytes [start, end) as a value of the path's own kind.
  python::Ref cut(std::size_t start, std::size_t end) const;

 private:
  PathBytes(python::Ref holder, std::string_view bytes, bool unicode)
      : holder_(std::move(holder)), bytes_(bytes), unicode_(unicode) {}

  python::Ref holder_;  // the object that owns bytes_
  std::string_view bytes_;
  bool unicode_;
};

}  // namespace servicepaths_python
