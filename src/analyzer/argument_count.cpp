#include "analyzer/argument_count.h"

namespace vanalyzer {

std::string argumentCountMessage(std::string_view function, std::string_view quantifier,
                                 std::size_t expected, std::size_t given) {
  std::string message(function.substr(0, 200));
  message += "() takes ";
  message += quantifier.substr(0, 8);
  message += ' ';
  message += std::to_string(expected);
  message += " positional argument";
  if (expected != 1) message += 's';
  message += " (" + std::to_string(given) + " given)";
  return message;
}

}  // namespace vanalyzer
