// The names of the converted copies that renderers keep beside a texture.
#pragma once

#include <string>
#include <string_view>

#include "analysis/path_rules.h"

namespace vanalyzer::analysis {

// The path without its extension, as os.path.splitext splits it: the extension starts at the last
// dot of the last component, unless only dots precede that dot in the component.
std::string_view withoutExtension(std::string_view path, PathFlavour flavour);

// The companion of `path` with the given suffix (".tx", ".rstexbin") in place of its extension.
std::string companionPath(std::string_view path, std::string_view suffix, PathFlavour flavour);

}  // namespace vanalyzer::analysis
