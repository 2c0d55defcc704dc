// read_file: the format of a scene file is told by its first bytes, not by its name.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "mayascene/binary.h"
#include "mayascene/reader.h"

namespace mayascene {

Scene read_file(const std::string& path, const ReadOptions& options) {
  char head[4] = {0, 0, 0, 0};
  std::size_t count = 0;
  {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw std::runtime_error(path + ": cannot open: " + std::strerror(errno));
    count = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
  }
  const std::string_view first(head, count);
  if (is_maya_binary(first)) return read_binary_file(path, options);
  // Other IFF files (FORM, LIST, CAT  ...) are no scenes of either form.
  for (const char* other : {"FORM", "LIST", "CAT ", "PROP", "CAT4", "CAT8", "LIS4", "LIS8"}) {
    if (first == other) {
      throw ParseError::in_chunk(path, 0, other, "an IFF file, but not a Maya scene: it opens with " +
                                                     std::string(other) + ", not FOR4 or FOR8");
    }
  }
  FileSource source(path);
  Scene scene = read_source(source, path, 1 << 20, options);
  scene.format = "mayaAscii";
  return scene;
}

}  // namespace mayascene
