#include "mayascene/parse_error.h"

namespace mayascene {

ParseError::ParseError(const std::string& message, const std::string& file, const std::string& reason)
    : std::runtime_error(message), file_(file), reason_(reason) {}

ParseError::ParseError(const std::string& file, std::int64_t line, std::int64_t column, const std::string& what)
    : ParseError(file + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + what, file, what) {
  line_ = line;
  column_ = column;
}

ParseError ParseError::in_chunk(const std::string& file, std::uint64_t offset, const std::string& chunk,
                                const std::string& what) {
  std::string message = file + ": byte " + std::to_string(offset);
  if (!chunk.empty()) message += ", chunk " + chunk;
  ParseError error(message + ": " + what, file, what);
  error.binary_ = true;
  error.offset_ = offset;
  error.chunk_ = chunk;
  return error;
}

}  // namespace mayascene
