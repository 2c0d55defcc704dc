// Builds Maya Binary bytes for the binary reader's tests: leaves and groups of either container
// form, with the padding rules of real files (leaf data padded relative to its start, groups
// unpadded, four junk bytes after the id in the 64-bit form).
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace mayascene {
namespace testing_mb {

inline std::string be(std::uint64_t v, int bytes) {
  std::string out;
  for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}
inline std::string u8(unsigned v) { return std::string(1, static_cast<char>(v)); }
inline std::string u32(std::uint32_t v) { return be(v, 4); }
inline std::string f64(double d) {
  std::uint64_t bits;
  std::memcpy(&bits, &d, sizeof bits);
  return be(bits, 8);
}
inline std::string f32(float f) {
  std::uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return be(bits, 4);
}
inline std::string z(const std::string& s) { return s + std::string(1, '\0'); }  // NUL-terminated

struct Form {
  bool wide;

  std::string header(const std::string& id, std::uint64_t size) const {
    return wide ? id + std::string("\x7f\xff\0\0", 4) + be(size, 8) : id + be(size, 4);  // junk bytes as Maya leaves them
  }
  std::string leaf(const std::string& id, const std::string& data) const {
    const std::size_t align = wide ? 8 : 4;
    return header(id, data.size()) + data + std::string((align - data.size() % align) % align, '\0');
  }
  std::string group(const std::string& type, const std::vector<std::string>& children, const char* kind = "FOR") const {
    std::string body = type;
    for (const std::string& c : children) body += c;
    return header(std::string(kind) + (wide ? "8" : "4"), body.size()) + body;
  }
  std::string list(const std::string& type, const std::vector<std::string>& children) const {
    return group(type, children, "LIS");
  }
  std::string file(const std::vector<std::string>& children) const { return group("Maya", children); }

  // Chunks of the usual kinds.
  std::string head(const std::string& version, std::vector<std::string> more = {}) const {
    std::vector<std::string> c = {leaf("VERS", version), leaf("LUNI", "cm"), leaf("TUNI", "film"), leaf("AUNI", "deg")};
    c.insert(c.end(), more.begin(), more.end());
    return group("HEAD", c);
  }
  std::string node(const std::string& type, unsigned flags, const std::string& name, const std::string& parent,
                   std::vector<std::string> chunks = {}) const {
    std::string crea = u8(flags) + z(name);
    if (!parent.empty()) crea += z(parent);
    chunks.insert(chunks.begin(), leaf("CREA", crea));
    return group(type, chunks);
  }
  std::string value(const std::string& id, const std::string& attr, const std::string& payload, unsigned flags = 0x20) const {
    return leaf(id, z(attr) + u8(flags) + payload);
  }
  std::string select(const std::string& name, std::vector<std::string> chunks = {}) const {
    chunks.insert(chunks.begin(), leaf("SLCT", name));
    return group("SLCT", chunks);
  }
  std::string connections(const std::vector<std::string>& leaves) const { return list("CONS", {group("CONN", leaves)}); }
  std::string connect(unsigned flags, const std::string& source, const std::string& destination) const {
    return leaf("CWFL", u8(flags) + z(source) + z(destination));
  }
};

}  // namespace testing_mb
}  // namespace mayascene
