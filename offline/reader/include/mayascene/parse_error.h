// The error both readers raise for a malformed or truncated scene, with its place in the file: a
// line and byte column in a Maya ASCII file, a byte offset and the chunk read there in a Maya
// Binary file.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace mayascene {

class ParseError : public std::runtime_error {
 public:
  // Maya ASCII: 1-based line and byte column. what(): "file:line:column: reason".
  ParseError(const std::string& file, std::int64_t line, std::int64_t column, const std::string& what);
  // Maya Binary: the file offset of the fault and the chunk read there (its four-character id,
  // or "" outside any chunk). what(): "file: byte <offset>, chunk <chunk>: reason".
  static ParseError in_chunk(const std::string& file, std::uint64_t offset, const std::string& chunk,
                             const std::string& what);

  const std::string& file() const { return file_; }
  bool binary() const { return binary_; }
  std::int64_t line() const { return line_; }      // 0 in a binary file
  std::int64_t column() const { return column_; }  // 0 in a binary file
  std::uint64_t offset() const { return offset_; } // 0 in an ASCII file
  const std::string& chunk() const { return chunk_; }
  const std::string& reason() const { return reason_; }

 private:
  ParseError(const std::string& message, const std::string& file, const std::string& reason);

  std::string file_;
  bool binary_ = false;
  std::int64_t line_ = 0;
  std::int64_t column_ = 0;
  std::uint64_t offset_ = 0;
  std::string chunk_;
  std::string reason_;
};

}  // namespace mayascene
