#include "analyzer/process_tree.h"

#include <gtest/gtest.h>

namespace vanalyzer {
namespace {

TEST(WindowsTerminationCommand, IsTheExactCommandText) {
  const std::string command = windowsTerminationCommand(4242);
  EXPECT_EQ(command, "taskkill.exe /T  /F /pid:4242");
  EXPECT_EQ(command.size(), 29u);
}

TEST(ParentFromStatLine, ReadsTheParentAfterTheCommandName) {
  EXPECT_EQ(parentFromStatLine("1234 (python3) S 99 1234 1234 0 -1"), 99);
  // A command name may hold spaces and parentheses.
  EXPECT_EQ(parentFromStatLine("77 (a) b (c)) R 12 77 77"), 12);
  EXPECT_EQ(parentFromStatLine("1 (init) S 0 1 1"), 0);
  EXPECT_FALSE(parentFromStatLine("").has_value());
  EXPECT_FALSE(parentFromStatLine("5 (x").has_value());
  EXPECT_FALSE(parentFromStatLine("5 (x) S").has_value());
  EXPECT_FALSE(parentFromStatLine("5 (x) S abc").has_value());
}

TEST(DescendantsOf, FindsTheWholeSubtreeAndNothingElse) {
  // 10 is the root; 11 and 12 its children; 13 a grandchild; 20 and 1 are outside the tree.
  const std::vector<std::pair<int, int>> table = {{1, 0},   {20, 1},  {10, 1}, {11, 10},
                                                  {12, 10}, {13, 11}, {21, 20}};
  EXPECT_EQ(descendantsOf(10, table), (std::vector<int>{11, 12, 13}));
  EXPECT_TRUE(descendantsOf(13, table).empty());
}

TEST(DescendantsOf, StopsOnACycle) {
  const std::vector<std::pair<int, int>> table = {{2, 1}, {3, 2}, {2, 3}};
  EXPECT_EQ(descendantsOf(1, table), (std::vector<int>{2, 3}));
}

}  // namespace
}  // namespace vanalyzer
