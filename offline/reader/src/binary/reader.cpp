// The top level of a Maya Binary file: FOR* "Maya" holds the header, the references, one group
// per node, the SLCT groups, the connections and a trailing header, each a group chunk.
#include <cstdlib>

#include "../default_nodes.h"
#include "binary_reader.h"
#include "mayascene/binary.h"
#include "text.h"

namespace mayascene {

namespace binary {

void Reader::run() {
  const Chunk& top = container_.top();
  std::uint64_t at = top.children();
  Chunk group;
  while (container_.next(top, &at, &group)) {
    if (!group.group) container_.fail(group, "a chunk that is no group at the top level of the file");
    const std::uint32_t type = group.type;
    if (type == tag("HEAD")) {
      read_header(group);
    } else if (type == tag("FRDI") || type == tag("FREF")) {
      read_reference(group, type == tag("FREF"));
    } else if (type == tag("SLCT")) {
      read_select(group);
    } else if (type == tag("CONS")) {
      read_connections(group);
    } else if (type == tag("PING")) {
      // `parent -add` (instancing), which the .ma reader does not keep either.
    } else {
      read_node(group);
    }
  }
  finish();
}

void Reader::finish() {
  detail::finish_scene(scene_, names_);
  scene_.codeset = choose_codeset(header_is_utf8_ && long_texts_utf8_ && scene_is_utf8(scene_), fallback_codeset_);
}

}  // namespace binary

bool is_maya_binary(std::string_view first_bytes) {
  return first_bytes.size() >= 4 && (first_bytes.substr(0, 4) == "FOR4" || first_bytes.substr(0, 4) == "FOR8");
}

std::string fallback_code_page() { return binary::code_page_from(std::getenv(kCodePageVariable)); }

Scene read_binary(ByteSource& source, const std::string& name, const std::string& fallback_codeset,
                  const ReadOptions& options) {
  Scene scene;
  scene.file = name;
  scene.format = "mayaBinary";
  binary::Container container(source, name);
  binary::Reader(container, scene, fallback_codeset, options.max_value_bytes).run();
  return scene;
}

Scene read_binary_file(const std::string& path, const ReadOptions& options) {
  FileByteSource source(path);
  return read_binary(source, path, fallback_code_page(), options);
}

}  // namespace mayascene
