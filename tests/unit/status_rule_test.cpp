#include "analyzer/status_rule.h"

#include <gtest/gtest.h>

namespace vanalyzer {
namespace {

TEST(CombineStatus, AWarningNeverLowersAnError) {
  struct Case {
    long long current, recorded, expected;
  };
  for (const Case& c : {Case{0, 1, 1}, Case{0, 2, 2}, Case{1, 2, 2}, Case{1, 1, 1}, Case{2, 1, 2},
                        Case{2, 2, 2}, Case{1, 0, 0}}) {
    EXPECT_EQ(combineStatus(c.current, c.recorded), c.expected) << c.current << " then " << c.recorded;
  }
}

}  // namespace
}  // namespace vanalyzer
