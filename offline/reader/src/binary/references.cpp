// File references: one FRDI group per `file -rdi` line (every reference, nested ones too, with its
// depth) and one FREF group per `file -r` line (the top-level ones), each holding one leaf of the
// same id.
#include "binary_reader.h"

namespace mayascene {
namespace binary {

namespace {

// Bytes between the reference node and the options; their meaning is unknown.
constexpr std::size_t kDepthInfoGap = 3;
constexpr std::size_t kReferenceGap = 8;

}  // namespace

// FRDI: u32 depth, path NUL, namespace NUL, u8, u8 deferred, reference node NUL, 3 bytes,
// options NUL, file type NUL, [zeros]. FREF: the same without the depth, with 8 bytes after the
// reference node. Files that end early after the reference node keep empty options and type.
Reference decode_reference(std::string_view data, bool top_level) {
  Payload p(data);
  Reference ref;
  ref.top_level = top_level;
  if (!top_level) ref.depth = static_cast<int>(p.u32() & 0x7FFFFFFF);
  ref.path = std::string(p.text());
  ref.ns = std::string(p.text());
  // Two flag bytes, 0 or 1 (the second: deferred); a text here instead means a layout without them.
  const std::string_view rest = data.substr(p.position());
  if (rest.size() >= 2 && static_cast<unsigned char>(rest[0]) <= 1 && static_cast<unsigned char>(rest[1]) <= 1) {
    p.u8();
    ref.deferred = p.u8() != 0;
  }
  ref.reference_node = std::string(p.text_or_rest());
  const std::size_t gap = top_level ? kReferenceGap : kDepthInfoGap;
  if (p.remaining() <= gap) return ref;
  p.skip(gap);
  ref.options = std::string(p.text_or_rest());
  ref.type = std::string(p.text_or_rest());
  return ref;
}

void Reader::read_reference(const Chunk& group, bool top_level) {
  std::uint64_t at = group.children();
  Chunk leaf;
  while (container_.next(group, &at, &leaf)) {
    if (leaf.group || leaf.id != group.type || too_long(leaf, top_level ? 0 : 4)) continue;
    scene_.references.push_back(decoded(leaf, [&](std::string_view data) { return decode_reference(data, top_level); }));
  }
}

}  // namespace binary
}  // namespace mayascene
