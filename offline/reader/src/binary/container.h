// The IFF container of a Maya Binary file: chunk headers, group and leaf bounds, padding. Every
// size is checked against the bytes its group has left before anything is read or allocated.
#pragma once

#include <cstdint>
#include <string>

#include "mayascene/binary.h"

namespace mayascene {
namespace binary {

constexpr std::uint32_t tag(const char (&s)[5]) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(s[0])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(s[1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(s[2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(s[3]));
}

// A chunk id as text: its four characters when printable ("DBLE"), else its hex value ("0x00115C00").
std::string chunk_id(std::uint32_t id);
// The same quoted when printable ("'DBLE'"), as a message names it.
std::string chunk_name(std::uint32_t id);

struct Chunk {
  std::uint32_t id = 0;
  std::uint64_t offset = 0;  // of the header
  std::uint64_t data = 0;    // of the data; a group's data starts with its type
  std::uint64_t size = 0;    // the size field: the data without padding
  std::uint64_t end = 0;     // where the next chunk of the same group starts
  bool group = false;
  std::uint32_t type = 0;    // a group's type (the node type id of a node group)

  std::uint64_t children() const { return data + 4; }
};

class Container {
 public:
  // Reads the top chunk: FOR4 (32-bit sizes, 4-byte padding) or FOR8 (64-bit sizes, 8-byte
  // padding), of type "Maya", ending at the file's end.
  Container(ByteSource& source, std::string name);

  const Chunk& top() const { return top_; }
  bool wide() const { return wide_; }
  const std::string& name() const { return name_; }
  ByteSource& source() { return source_; }

  // The chunk that starts at *at inside `group`; false once the group's chunks are all read
  // (zero bytes too few for a header end a group as padding).
  bool next(const Chunk& group, std::uint64_t* at, Chunk* chunk);
  // The first n bytes (at most) of a leaf's data.
  std::string data(const Chunk& leaf, std::uint64_t n = UINT64_MAX);

  [[noreturn]] void fail(std::uint64_t offset, std::uint32_t chunk, const std::string& what) const;
  [[noreturn]] void fail(const Chunk& chunk, const std::string& what) const { fail(chunk.offset, chunk.id, what); }

 private:
  bool is_group(std::uint32_t id) const;
  Chunk header_at(std::uint64_t offset, std::uint64_t limit);

  ByteSource& source_;
  std::string name_;
  bool wide_ = false;
  std::uint64_t header_size_ = 8;
  std::uint64_t alignment_ = 4;
  Chunk top_;
};

}  // namespace binary
}  // namespace mayascene
