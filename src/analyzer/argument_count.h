// The interpreter's argument-count error text for the module's own functions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vanalyzer {

// "%.200s() takes %.8s %zd positional argument%.1s (%zd given)"
std::string argumentCountMessage(std::string_view function, std::string_view quantifier,
                                 std::size_t expected, std::size_t given);

}  // namespace vanalyzer
