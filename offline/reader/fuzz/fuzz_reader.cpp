// libFuzzer harness: any byte string must give a scene or a ParseError, never a crash or a hang.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mayascene/names.h"
#include "mayascene/reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the chunk size, so that tokens straddle refills at every offset.
  const std::size_t chunk = 1 + data[0] % 64;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  try {
    mayascene::MemorySource source(text);
    const mayascene::Scene scene = mayascene::read_source(source, "fuzz.ma", chunk);
    for (const mayascene::Node& node : scene.nodes) {
      for (const auto& attr : node.attrs) mayascene::canonical_path(node.type, attr.first, node.dynamic);
    }
    // Reference edits' setAttr tails go through the reader again.
    for (const auto& holder : scene.reference_edits) {
      for (const auto& group : holder.groups) {
        for (const auto& edit : group.edits) {
          if (edit.code != 2 || edit.fields.size() < 3 || scene.nodes.empty()) continue;
          try {
            mayascene::set_attr_values(scene.nodes.front(), edit.fields[1], edit.fields[2], "edit");
          } catch (const mayascene::ParseError&) {
          }
        }
      }
    }
    mayascene::codec_for_codeset(scene.codeset);
  } catch (const mayascene::ParseError&) {
  }
  return 0;
}
