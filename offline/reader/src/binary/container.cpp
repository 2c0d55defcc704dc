#include "container.h"

#include <cstdio>
#include <utility>

namespace mayascene {
namespace binary {

namespace {

std::uint32_t be32(const unsigned char* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

std::uint64_t be64(const unsigned char* p) {
  return (static_cast<std::uint64_t>(be32(p)) << 32) | be32(p + 4);
}

}  // namespace

std::string chunk_id(std::uint32_t id) {
  std::string text;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((id >> shift) & 0xFF);
    if (c < 0x20 || c > 0x7E) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(id));
      return hex;
    }
    text += c;
  }
  return text;
}

std::string chunk_name(std::uint32_t id) {
  const std::string text = chunk_id(id);
  return text.size() == 4 ? "'" + text + "'" : text;
}

Container::Container(ByteSource& source, std::string name) : source_(source), name_(std::move(name)) {
  unsigned char head[4] = {0, 0, 0, 0};
  if (source_.size() >= 4) source_.read_at(0, reinterpret_cast<char*>(head), 4);
  const std::uint32_t id = be32(head);
  if (id != tag("FOR4") && id != tag("FOR8")) fail(0, 0, "not a Maya Binary file: it does not open with FOR4 or FOR8");
  wide_ = id == tag("FOR8");
  header_size_ = wide_ ? 16 : 8;
  alignment_ = wide_ ? 8 : 4;
  if (source_.size() < header_size_ + 4) fail(source_.size(), id, "the file is truncated: it ends inside its first chunk header");
  top_ = header_at(0, UINT64_MAX);
  if (top_.type != tag("Maya")) fail(top_.data, id, "an IFF file of type " + chunk_name(top_.type) + ", not a Maya scene");
  if (top_.data + top_.size > source_.size()) {
    fail(source_.size(), id, "the file is truncated: it ends " + std::to_string(top_.data + top_.size - source_.size()) +
                                 " bytes before the end its top chunk declares");
  }
}

bool Container::is_group(std::uint32_t id) const {
  if (wide_) return id == tag("FOR8") || id == tag("LIS8") || id == tag("CAT8") || id == tag("PRO8");
  return id == tag("FOR4") || id == tag("LIS4") || id == tag("CAT4") || id == tag("PRO4");
}

Chunk Container::header_at(std::uint64_t offset, std::uint64_t limit) {
  unsigned char header[20];
  const std::uint64_t available = source_.size() - offset;
  const std::size_t wanted = static_cast<std::size_t>(header_size_ + 4 <= available ? header_size_ + 4 : header_size_);
  source_.read_at(offset, reinterpret_cast<char*>(header), wanted);
  Chunk chunk;
  chunk.id = be32(header);
  chunk.offset = offset;
  chunk.data = offset + header_size_;
  // The 64-bit form has four unused bytes between the id and the size.
  chunk.size = wide_ ? be64(header + 8) : be32(header + 4);
  chunk.group = is_group(chunk.id);
  const std::uint64_t room = limit - chunk.data;
  if (chunk.size > room) {
    if (limit == UINT64_MAX) return chunk;  // the top chunk: the caller checks it against the file size
    fail(offset, chunk.id, "the chunk declares " + std::to_string(chunk.size) + " bytes, but its group has " +
                               std::to_string(room) + " left");
  }
  if (chunk.group) {
    if (chunk.size < 4 || wanted < header_size_ + 4) fail(offset, chunk.id, "a group chunk too small to hold its type");
    chunk.type = be32(header + header_size_);
    chunk.end = chunk.data + chunk.size;  // no padding follows a group
  } else {
    // Leaf data is padded relative to its own start; the last leaf of a group may go without.
    const std::uint64_t padding = (alignment_ - chunk.size % alignment_) % alignment_;
    chunk.end = padding > room - chunk.size ? limit : chunk.data + chunk.size + padding;
  }
  return chunk;
}

bool Container::next(const Chunk& group, std::uint64_t* at, Chunk* chunk) {
  if (*at >= group.end) return false;
  const std::uint64_t left = group.end - *at;
  if (left < header_size_) {
    char tail[16];
    source_.read_at(*at, tail, static_cast<std::size_t>(left));
    for (std::uint64_t i = 0; i < left; ++i) {
      if (tail[i] != 0) fail(*at, group.id, std::to_string(left) + " bytes at the end of a group are too few for a chunk");
    }
    *at = group.end;
    return false;
  }
  *chunk = header_at(*at, group.end);
  *at = chunk->end;
  return true;
}

std::string Container::data(const Chunk& leaf, std::uint64_t n) {
  const std::uint64_t count = n < leaf.size ? n : leaf.size;
  std::string bytes(static_cast<std::size_t>(count), '\0');
  source_.read_at(leaf.data, &bytes[0], bytes.size());
  return bytes;
}

void Container::fail(std::uint64_t offset, std::uint32_t chunk, const std::string& what) const {
  throw ParseError::in_chunk(name_, offset, chunk == 0 ? std::string() : chunk_id(chunk), what);
}

}  // namespace binary
}  // namespace mayascene
