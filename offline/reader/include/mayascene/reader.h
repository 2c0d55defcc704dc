// Reads a scene file into the scene model. Throws ParseError for malformed or truncated input
// (file, line and column in a Maya ASCII file; file, byte offset and chunk in a Maya Binary one)
// and std::runtime_error when the file cannot be read.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mayascene/lexer.h"
#include "mayascene/scene.h"

namespace mayascene {

// Either format, told by the file's first bytes (see binary.h for Maya Binary).
Scene read_file(const std::string& path);
// Maya ASCII.
Scene read_source(Source& source, const std::string& name, std::size_t chunk_size = 1 << 20);
Scene read_text(std::string_view text, const std::string& name = "<memory>");

// A setAttr value list longer than this is not stored (mesh and curve data, weights ...).
constexpr std::size_t kMaxStoredValues = 64;

// What `setAttr ".<attr>" <tail>;` stores on a node of `node`'s type and dynamic attributes, as the
// reader stores it: (attribute path with long names, value) pairs; none for what the reader does
// not keep. A reference edit's setAttr is an attribute and such a tail. Throws ParseError (named
// `source`) for a malformed tail.
std::vector<std::pair<std::string, Value>> set_attr_values(const Node& node, std::string_view attr,
                                                           std::string_view tail, const std::string& source);

}  // namespace mayascene
