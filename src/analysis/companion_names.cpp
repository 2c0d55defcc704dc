#include "analysis/companion_names.h"

namespace vanalyzer::analysis {

std::string_view withoutExtension(std::string_view path, PathFlavour flavour) {
  size_t separatorIndex = path.rfind('/');
  if (flavour == PathFlavour::Windows) {
    const size_t backslash = path.rfind('\\');
    if (backslash != std::string_view::npos &&
        (separatorIndex == std::string_view::npos || backslash > separatorIndex)) {
      separatorIndex = backslash;
    }
  }
  const size_t dotIndex = path.rfind('.');
  const size_t nameStart = separatorIndex == std::string_view::npos ? 0 : separatorIndex + 1;
  if (dotIndex == std::string_view::npos || dotIndex < nameStart) return path;
  for (size_t i = nameStart; i < dotIndex; ++i) {
    if (path[i] != '.') return path.substr(0, dotIndex);
  }
  return path;
}

std::string companionPath(std::string_view path, std::string_view suffix, PathFlavour flavour) {
  std::string result(withoutExtension(path, flavour));
  result += suffix;
  return result;
}

}  // namespace vanalyzer::analysis
