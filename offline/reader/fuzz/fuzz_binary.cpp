// libFuzzer harness of the Maya Binary reader: any byte string must give a scene or a ParseError,
// never a crash, a hang or memory out of proportion to the input.
#include <cstddef>
#include <cstdint>
#include <string>

#include "mayascene/binary.h"
#include "mayascene/names.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  // With the first byte's low bit set, the top chunk's size is made to fit the input, so that
  // seeds cut short by the length limit and mutations that change the length reach the chunks
  // inside instead of ending at the truncation check.
  if ((data[0] & 1) != 0 && bytes.size() >= 20) {
    const bool wide = bytes.compare(0, 4, "FOR8") == 0;
    const std::uint64_t body = bytes.size() - (wide ? 16 : 8);
    const int width = wide ? 8 : 4;
    for (int i = 0; i < width; ++i) {
      bytes[static_cast<std::size_t>((wide ? 8 : 4) + i)] = static_cast<char>((body >> (8 * (width - 1 - i))) & 0xFF);
    }
  }
  // With the second bit set, a cap of 8 bytes on stored values: the texts over it are measured in
  // the input, left there and read back from it.
  mayascene::ReadOptions options;
  if ((data[0] & 2) != 0) options.max_value_bytes = 8;
  try {
    mayascene::MemoryByteSource source(bytes);
    const mayascene::Scene scene = mayascene::read_binary(source, "fuzz.mb", "1252", options);
    for (std::size_t i = 0; i < scene.nodes.size(); ++i) {
      mayascene::dag_path(scene, static_cast<int>(i));
      for (const auto& attr : scene.nodes[i].attrs) {
        mayascene::canonical_path(scene.nodes[i].type, attr.first, scene.nodes[i].dynamic);
        // The input is unchanged: a text left in it always reads back, at its measured length.
        if (attr.second.kind == mayascene::Value::Kind::Span &&
            mayascene::read_binary_span(source, "fuzz.mb", attr.second, scene.codeset == "UTF-8").size() !=
                attr.second.length) {
          __builtin_trap();
        }
      }
    }
  } catch (const mayascene::ParseError&) {
  }
  return 0;
}
