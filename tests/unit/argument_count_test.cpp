#include "analyzer/argument_count.h"

#include <gtest/gtest.h>

namespace vanalyzer {
namespace {

TEST(ArgumentCountMessage, MatchesTheInterpreterText) {
  EXPECT_EQ(argumentCountMessage("runMain", "exactly", 2, 1),
            "runMain() takes exactly 2 positional arguments (1 given)");
  EXPECT_EQ(argumentCountMessage("__init__", "at least", 2, 1),
            "__init__() takes at least 2 positional arguments (1 given)");
  EXPECT_EQ(argumentCountMessage("loadSidePath", "exactly", 1, 3),
            "loadSidePath() takes exactly 1 positional argument (3 given)");
}

TEST(ArgumentCountMessage, CutsLongNamesAndQuantifiers) {
  const std::string name(300, 'f');
  const std::string message = argumentCountMessage(name, "exactly-and-more", 2, 0);
  EXPECT_EQ(message, std::string(200, 'f') + "() takes exactly- 2 positional arguments (0 given)");
}

}  // namespace
}  // namespace vanalyzer
