#include "mayascene/text_arena.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace mayascene {

namespace {

// Most scenes a shot references are props of a few nodes: the first block is small and each next
// one twice the last, up to 64 KiB, so the blocks grow with the texts kept (a prop's arena is a few
// hundred bytes) and a big scene still fills blocks of 64 KiB. A text longer than a quarter of the
// largest block gets a block of its own.
constexpr std::size_t kFirstBlockBytes = 256;
constexpr std::size_t kBlockBytes = 64 * 1024;

}  // namespace

char* TextArena::room(std::size_t bytes) {
  if (bytes > kBlockBytes / 4) {
    blocks_.push_back(std::make_unique<char[]>(bytes));
    return blocks_.back().get();
  }
  if (bytes > left_) {
    std::size_t size = block_bytes_ == 0 ? kFirstBlockBytes : std::min(kBlockBytes, 2 * block_bytes_);
    while (size < bytes) size *= 2;
    blocks_.push_back(std::make_unique<char[]>(size));
    block_bytes_ = size;
    next_ = blocks_.back().get();
    left_ = size;
  }
  char* at = next_;
  next_ += bytes;
  left_ -= bytes;
  return at;
}

Text TextArena::keep(std::string_view text) {
  if (text.empty()) return Text();
  if (text.size() > UINT32_MAX) throw std::length_error("a node's text longer than 4 GiB");
  const bool long_length = text.size() >= Text::kLongLength;
  const std::size_t header = long_length ? 5 : 1;
  char* at = room(header + text.size());
  auto* bytes = reinterpret_cast<unsigned char*>(at);
  if (long_length) {
    bytes[0] = Text::kLongLength;
    for (int k = 0; k < 4; ++k) bytes[1 + k] = static_cast<unsigned char>(text.size() >> (8 * k));
  } else {
    bytes[0] = static_cast<unsigned char>(text.size());
  }
  std::memcpy(at + header, text.data(), text.size());
  return Text(at);
}

Text TextArena::keep_repeated(std::string_view text) {
  if (repeated_.view() != text) repeated_ = keep(text);
  return repeated_;
}

Text TextArena::intern(std::string_view text) {
  if (text.empty()) return Text();
  const auto found = interned_.find(text);
  if (found != interned_.end()) return found->second;
  const Text kept = keep(text);
  interned_.emplace(kept.view(), kept);
  return kept;
}

}  // namespace mayascene
