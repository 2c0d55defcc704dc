// Reads a Maya ASCII scene into the scene model. Throws ParseError (file, line, column) for
// malformed or truncated input and std::runtime_error when the file cannot be read.
#pragma once

#include <string>
#include <string_view>

#include "mayascene/lexer.h"
#include "mayascene/scene.h"

namespace mayascene {

Scene read_file(const std::string& path);
Scene read_source(Source& source, const std::string& name, std::size_t chunk_size = 1 << 20);
Scene read_text(std::string_view text, const std::string& name = "<memory>");

// A setAttr value list longer than this is not stored (mesh and curve data, weights ...).
constexpr std::size_t kMaxStoredValues = 64;

}  // namespace mayascene
