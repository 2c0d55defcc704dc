// The texts of a scene's nodes (names, types, parent names as written), kept back to back in
// blocks that never move: a node holds one pointer a text (8 bytes, null when empty) where a
// std::string costs 32, and a million nodes keep their names in about the bytes the file spends
// on them. A type is kept once however many nodes have it; a parent name written like the one
// before it shares that text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mayascene {

// A text of a TextArena: valid as long as the arena (so the scene that owns it) lives.
class Text {
 public:
  Text() = default;
  std::string_view view() const {
    if (at_ == nullptr) return std::string_view();
    const auto* bytes = reinterpret_cast<const unsigned char*>(at_);
    if (bytes[0] != kLongLength) return std::string_view(at_ + 1, bytes[0]);
    std::uint32_t length = 0;
    for (int k = 0; k < 4; ++k) length |= static_cast<std::uint32_t>(bytes[1 + k]) << (8 * k);
    return std::string_view(at_ + 5, length);
  }
  operator std::string_view() const { return view(); }
  std::string str() const { return std::string(view()); }
  std::size_t size() const { return view().size(); }
  bool empty() const { return at_ == nullptr; }
  // Texts of one arena are the same text when they are the same pointer (interned types).
  bool same(Text other) const { return at_ == other.at_; }

  friend bool operator==(Text a, std::string_view b) { return a.view() == b; }
  friend bool operator==(std::string_view a, Text b) { return a == b.view(); }
  friend bool operator==(Text a, Text b) { return a.view() == b.view(); }
  friend bool operator!=(Text a, std::string_view b) { return a.view() != b; }
  friend bool operator!=(std::string_view a, Text b) { return a != b.view(); }
  friend bool operator!=(Text a, Text b) { return a.view() != b.view(); }

 private:
  friend class TextArena;
  static constexpr unsigned char kLongLength = 0xFF;  // a length of 255 or more: four bytes follow
  explicit Text(const char* at) : at_(at) {}
  const char* at_ = nullptr;  // a length byte (or kLongLength and four), then the bytes
};

class TextArena {
 public:
  TextArena() = default;
  TextArena(TextArena&&) = default;
  TextArena& operator=(TextArena&&) = default;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;

  // A copy of the bytes in the arena (the empty text for none).
  Text keep(std::string_view text);
  // keep(), but a text equal to the one kept by the last call is that text again.
  Text keep_repeated(std::string_view text);
  // keep(), once for each distinct text (node types).
  Text intern(std::string_view text);

 private:
  char* room(std::size_t bytes);
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
  std::size_t block_bytes_ = 0;  // of the last block texts share (none yet: 0)
  Text repeated_;
  std::unordered_map<std::string_view, Text> interned_;
};

}  // namespace mayascene
