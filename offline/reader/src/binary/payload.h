// A cursor over the bytes of one leaf chunk: NUL-terminated texts and big-endian numbers. Reading
// past the end throws Malformed with the position, which the reader turns into an error naming
// the chunk, or into skipping the chunk where a malformed one can be done without.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace mayascene {
namespace binary {

struct Malformed {
  std::size_t at;    // offset in the chunk's data
  std::string what;
};

class Payload {
 public:
  explicit Payload(std::string_view bytes) : bytes_(bytes) {}

  std::size_t position() const { return pos_; }
  std::size_t remaining() const { return bytes_.size() - pos_; }
  bool empty() const { return pos_ == bytes_.size(); }

  // The bytes up to the next NUL, which is consumed.
  std::string_view text() {
    const std::size_t nul = bytes_.find('\0', pos_);
    if (nul == std::string_view::npos) throw Malformed{pos_, "a text without its closing NUL"};
    const std::string_view out = bytes_.substr(pos_, nul - pos_);
    pos_ = nul + 1;
    return out;
  }
  // The bytes up to the next NUL, or all remaining bytes when none follows.
  std::string_view text_or_rest() {
    const std::size_t nul = bytes_.find('\0', pos_);
    if (nul == std::string_view::npos) return take(remaining());
    const std::string_view out = bytes_.substr(pos_, nul - pos_);
    pos_ = nul + 1;
    return out;
  }
  std::string_view take(std::size_t n) {
    need(n);
    const std::string_view out = bytes_.substr(pos_, n);
    pos_ += n;
    return out;
  }
  std::string_view rest() { return take(remaining()); }
  void skip(std::size_t n) { take(n); }

  std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)[0]); }
  std::uint16_t u16() { return static_cast<std::uint16_t>(unsigned_be(2)); }
  std::uint32_t u32() { return static_cast<std::uint32_t>(unsigned_be(4)); }
  std::uint64_t u64() { return unsigned_be(8); }
  std::int16_t s16() { return static_cast<std::int16_t>(u16()); }
  std::int32_t s32() { return static_cast<std::int32_t>(u32()); }
  std::int64_t s64() { return static_cast<std::int64_t>(u64()); }
  double f64() {
    const std::uint64_t bits = u64();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
  }
  float f32() {
    const std::uint32_t bits = u32();
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
  }

 private:
  void need(std::size_t n) const {
    if (n > remaining()) {
      throw Malformed{pos_, "the chunk ends " + std::to_string(n - remaining()) + " bytes short of its next field"};
    }
  }
  std::uint64_t unsigned_be(std::size_t n) {
    const std::string_view b = take(n);
    std::uint64_t v = 0;
    for (char c : b) v = (v << 8) | static_cast<unsigned char>(c);
    return v;
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace binary
}  // namespace mayascene
