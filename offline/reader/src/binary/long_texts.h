// Texts of a chunk larger than the cap on stored values, measured through the file instead of
// copied: the chunk's bytes pass through one bounded buffer, texts are found by their NULs and
// checked for UTF-8 piece by piece, so a text of hundreds of megabytes costs the buffer only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mayascene/binary.h"

namespace mayascene {
namespace binary {

// is_valid_utf8 over a text given in pieces: the pieces' concatenation is judged, whatever the
// places it is cut at.
class Utf8Pieces {
 public:
  void feed(std::string_view piece);
  bool valid() const { return ok_ && carry_.empty(); }  // of all pieces fed so far, as one text

 private:
  bool ok_ = true;
  std::string carry_;  // an unfinished sequence at the end of the last piece
};

struct TextExtent {
  std::uint64_t offset = 0;  // of its first byte in the file
  std::uint64_t length = 0;  // bytes before its NUL (or the end of the range)
  bool terminated = false;   // a NUL follows it
  bool utf8 = true;
};

// The NUL-terminated texts of the bytes [from, end) of a source, one after another.
class TextScanner {
 public:
  TextScanner(ByteSource& source, std::uint64_t from, std::uint64_t end);
  std::uint64_t position() const { return at_; }
  // The text at position() (its NUL consumed); false at the end of the range.
  bool next(TextExtent* text);
  // The n bytes at position(), when the range has them.
  bool take(std::size_t n, std::string* out);

 private:
  std::string_view window();  // the buffered bytes from position() on, refilled when none

  ByteSource& source_;
  std::uint64_t at_;
  std::uint64_t end_;
  std::vector<char> buffer_;
  std::uint64_t buffer_start_ = 0;
  std::size_t buffer_size_ = 0;
};

}  // namespace binary
}  // namespace mayascene
