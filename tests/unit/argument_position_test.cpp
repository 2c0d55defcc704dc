#include "scene/argument_position.h"

#include <gtest/gtest.h>

namespace vanalyzer::scene {
namespace {

struct PositionCase {
  std::size_t argumentCount;
  std::optional<std::size_t> index;
};

void PrintTo(const PositionCase& c, std::ostream* out) { *out << c.argumentCount << " entries"; }

class LinuxSceneArgument : public testing::TestWithParam<PositionCase> {};

TEST_P(LinuxSceneArgument, PicksTheEntryForTheListLength) {
  EXPECT_EQ(linuxSceneArgumentIndex(GetParam().argumentCount), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LinuxSceneArgument,
                         testing::Values(PositionCase{0, 3}, PositionCase{3, 3}, PositionCase{4, 3},
                                         PositionCase{7, 3}, PositionCase{8, std::nullopt}, PositionCase{9, 5},
                                         PositionCase{10, 5}, PositionCase{40, 5}));

}  // namespace
}  // namespace vanalyzer::scene
