// Reads a scene file into the scene model. Throws ParseError for malformed or truncated input
// (file, line and column in a Maya ASCII file; file, byte offset and chunk in a Maya Binary one)
// and std::runtime_error when the file cannot be read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mayascene/lexer.h"
#include "mayascene/scene.h"

namespace mayascene {

// The cap on a single stored text value unless a caller sets another (the offline host takes it
// from VANALYZER_MAX_VALUE_BYTES).
constexpr std::uint64_t kDefaultMaxValueBytes = 16u << 20;

// How much of a file the reader keeps in memory. A text longer than max_value_bytes is never cut:
// a string attribute's value is left in the file as a Span (read_span reads it again when asked),
// any other such text is not kept; each is listed in Scene::long_values.
struct ReadOptions {
  std::uint64_t max_value_bytes = kDefaultMaxValueBytes;
};

// The cap that a VANALYZER_MAX_VALUE_BYTES setting names: unset or "" -> kDefaultMaxValueBytes,
// a whole number of bytes, 0 for no cap; nullopt for anything else.
std::optional<std::uint64_t> max_value_bytes_setting(const char* text);

// Either format, told by the file's first bytes (see binary.h for Maya Binary).
Scene read_file(const std::string& path, const ReadOptions& options = ReadOptions());
// Maya ASCII.
Scene read_source(Source& source, const std::string& name, std::size_t chunk_size = 1 << 20,
                  const ReadOptions& options = ReadOptions());
Scene read_text(std::string_view text, const std::string& name = "<memory>",
                const ReadOptions& options = ReadOptions());

// The text of a Span value of `scene` (read from its file again). std::runtime_error when the file
// cannot be read or no longer holds that text there.
std::string read_span(const Scene& scene, const Value& span);

// A setAttr value list longer than this is not stored (mesh and curve data, weights ...).
constexpr std::size_t kMaxStoredValues = 64;

// What `setAttr ".<attr>" <tail>;` stores on a node of `node`'s type and dynamic attributes, as the
// reader stores it: (attribute path with long names, value) pairs; none for what the reader does
// not keep. A reference edit's setAttr is an attribute and such a tail. Throws ParseError (named
// `source`) for a malformed tail.
std::vector<std::pair<std::string, Value>> set_attr_values(const Node& node, std::string_view attr,
                                                           std::string_view tail, const std::string& source);

}  // namespace mayascene
