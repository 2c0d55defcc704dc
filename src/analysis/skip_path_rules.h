// The skip-path setting: patterns separated by "|", spaces not significant.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vanalyzer::analysis {

// Removes every space, splits at "|" and drops the empty pieces, keeping the order.
std::vector<std::string> skipPathPieces(std::string_view setting);

}  // namespace vanalyzer::analysis
