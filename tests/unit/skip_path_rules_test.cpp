#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/skip_path_rules.h"

namespace vanalyzer::analysis {
namespace {

struct PiecesCase {
  std::string setting;
  std::vector<std::string> pieces;
};

class SkipPathPieces : public ::testing::TestWithParam<PiecesCase> {};

TEST_P(SkipPathPieces, RemovesSpacesSplitsAndDropsEmptyPieces) {
  EXPECT_EQ(skipPathPieces(GetParam().setting), GetParam().pieces) << GetParam().setting;
}

INSTANTIATE_TEST_SUITE_P(Table, SkipPathPieces, ::testing::ValuesIn(std::initializer_list<PiecesCase>{
    {"lib|cache", {"lib", "cache"}},
    {"my lib", {"mylib"}},
    {" | |  |", {}},
    {"", {}},
    {"||a||b|", {"a", "b"}},
    {"C:\\\\proj\\\\lib | .*\\.tmp$", {"C:\\\\proj\\\\lib", ".*\\.tmp$"}},
    {"a\tb", {"a\tb"}},  // only the space character is removed
    {"lib|lib", {"lib", "lib"}},
}));

}  // namespace
}  // namespace vanalyzer::analysis
