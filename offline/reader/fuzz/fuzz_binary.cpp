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
  try {
    mayascene::MemoryByteSource source(bytes);
    const mayascene::Scene scene = mayascene::read_binary(source, "fuzz.mb", "1252");
    for (std::size_t i = 0; i < scene.nodes.size(); ++i) {
      mayascene::dag_path(scene, static_cast<int>(i));
      for (const auto& attr : scene.nodes[i].attrs) {
        mayascene::canonical_path(scene.nodes[i].type, attr.first, scene.nodes[i].dynamic);
      }
    }
  } catch (const mayascene::ParseError&) {
  }
  return 0;
}
