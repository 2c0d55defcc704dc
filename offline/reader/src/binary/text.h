// Texts of a Maya Binary file: kept as bytes; the file records no code page, so the reader names
// one: UTF-8 when every text is valid UTF-8, else the configured fallback.
#pragma once

#include <string>
#include <string_view>

#include "mayascene/scene.h"

namespace mayascene {
namespace binary {

bool is_valid_utf8(std::string_view bytes);
// True when every text the scene model holds is valid UTF-8.
bool scene_is_utf8(const Scene& scene);
// The code page a .mb file's texts are read in: "UTF-8", or the fallback when some are not UTF-8.
std::string choose_codeset(bool all_utf8, const std::string& fallback);
// The fallback named by the environment's value (unset or empty: 1252).
std::string code_page_from(const char* environment_value);
// A text written with a .ma string's escapes (\n \t \" \\), as the .ma reader returns it.
std::string unescaped(std::string_view text);

}  // namespace binary
}  // namespace mayascene
