#include "servicepaths/planned_path.h"

namespace servicepaths {
namespace {

// What either kind's strip() may remove at an end: ASCII whitespace and the file, group, record
// and unit separators (which Unicode strip() counts as space); any non-ASCII byte is left to the
// rules.
bool uncertainEnd(unsigned char byte) {
  return byte == ' ' || (byte >= '\t' && byte <= '\r') || (byte >= 0x1c && byte <= 0x1f) || byte >= 0x80;
}

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "_mapid_" in any letter case. Only ASCII letters lower-case to these letters as a run, so this
// is the token test's lower() on either kind of text.
bool holdsMapId(std::string_view path) {
  static constexpr std::string_view token = "_mapid_";
  for (std::size_t at = path.find('_'); at != std::string_view::npos && path.size() - at >= token.size();
       at = path.find('_', at + 1)) {
    std::size_t i = 1;
    while (i < token.size() && lowerAscii(path[at + i]) == token[i]) ++i;
    if (i == token.size()) return true;
  }
  return false;
}

}  // namespace

std::optional<std::size_t> plannedFolderEnd(std::string_view path) {
  if (path.empty() || uncertainEnd(static_cast<unsigned char>(path.front())) ||
      uncertainEnd(static_cast<unsigned char>(path.back())))
    return std::nullopt;
  // A non-ASCII first character is excluded above, so the second character is the second byte.
  if (path.size() > 1 && path[1] == ':') return std::nullopt;
  if (path.substr(0, 2) == "//") return std::nullopt;
  if (path.find_first_of("\\$%<#") != std::string_view::npos || holdsMapId(path)) return std::nullopt;
  const std::size_t slash = path.rfind('/');
  const std::size_t folderEnd = slash == std::string_view::npos ? 0 : slash + 1;
  const std::string_view name = path.substr(folderEnd);
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  return folderEnd;
}

}  // namespace servicepaths
