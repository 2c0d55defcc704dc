#include "text.h"

#include <cstdint>
#include <cstring>

#include "mayascene/binary.h"

namespace mayascene {
namespace binary {

bool is_valid_utf8(std::string_view bytes) {
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    // Runs of ASCII eight bytes at a time: a text of hundreds of megabytes is checked as it is read.
    std::uint64_t word;
    while (n - i >= 8 && (std::memcpy(&word, bytes.data() + i, 8), (word & 0x8080808080808080ULL) == 0)) i += 8;
    if (i == n) break;
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    std::uint32_t code;
    std::uint32_t least;
    if ((c & 0xE0) == 0xC0) {
      length = 2, code = c & 0x1F, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
      length = 3, code = c & 0x0F, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
      length = 4, code = c & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (n - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      code = (code << 6) | (t & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
    if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    i += length;
  }
  return true;
}

namespace {

bool value_is_utf8(const Value& v) {
  if (!is_valid_utf8(v.s)) return false;
  for (const Value& item : v.items) {
    if (!value_is_utf8(item)) return false;
  }
  return true;
}

}  // namespace

bool scene_is_utf8(const Scene& scene) {
  auto ok = [](std::string_view s) { return is_valid_utf8(s); };
  if (!ok(scene.maya_version) || !ok(scene.required_maya)) return false;
  for (const auto& r : scene.requires_) {
    if (!ok(r.plugin) || !ok(r.version)) return false;
    for (const auto& t : r.node_types) if (!ok(t)) return false;
    for (const auto& t : r.data_types) if (!ok(t)) return false;
  }
  for (const auto& u : scene.units) if (!ok(u.second)) return false;
  for (const auto& f : scene.file_info) if (!ok(f.first) || !ok(f.second)) return false;
  for (const auto& r : scene.references) {
    if (!ok(r.path) || !ok(r.ns) || !ok(r.reference_node) || !ok(r.type) || !ok(r.options)) return false;
  }
  for (const auto& holder : scene.reference_edits) {
    if (!ok(holder.holder) || !ok(holder.owner)) return false;
    for (const auto& group : holder.groups) {
      if (!ok(group.reference_node)) return false;
      for (const auto& edit : group.edits) {
        for (const auto& field : edit.fields) if (!ok(field)) return false;
      }
    }
  }
  for (const Node& node : scene.nodes) {
    if (!ok(node.name) || !ok(node.type) || !ok(node.parent_name)) return false;
    for (const auto& a : node.attrs) if (!ok(a.first) || !value_is_utf8(a.second)) return false;
    for (const auto& d : node.dynamic) {
      if (!ok(d.short_name) || !ok(d.long_name) || !ok(d.type)) return false;
    }
  }
  for (const auto& c : scene.connections) if (!ok(c.source()) || !ok(c.destination())) return false;
  for (const auto& r : scene.relationships) {
    if (!ok(r.kind)) return false;
    for (const auto& m : r.members) if (!ok(m)) return false;
  }
  return true;
}

std::string choose_codeset(bool all_utf8, const std::string& fallback) { return all_utf8 ? "UTF-8" : fallback; }

std::string code_page_from(const char* environment_value) {
  return environment_value != nullptr && environment_value[0] != '\0' ? environment_value : kDefaultCodePage;
}

std::string unescaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char next = text[i + 1];
      if (next == 'n' || next == 't' || next == '"' || next == '\\') {
        out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
        ++i;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

}  // namespace binary
}  // namespace mayascene
