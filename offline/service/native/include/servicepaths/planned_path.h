// Which paths read from a scene a folder plan can answer: a path whose rules do not depend on its
// name. Plain C++ over the path's bytes, so that the service can decide it for a big scene's every
// path without a Python step per path.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace servicepaths {

// The offset just past the path's folder (its last '/', or 0 for a path with no folder) when a
// plan can answer the path, else nothing. The path is Unicode text as UTF-8 or a 2.7 byte string
// as it is: the answer is the same for both. Nothing for a path with a backslash, a variable ('$' or
// '%'), a drive (a second character ':'), a share ("//"), surrounding spaces, a tile or frame
// token, or a last part that is empty, "." or "..". Where the answer would need Unicode tables (a
// non-ASCII character at either end, or first), it is nothing too: the rules then take the path,
// and they answer as a plan would.
std::optional<std::size_t> plannedFolderEnd(std::string_view path);

}  // namespace servicepaths
