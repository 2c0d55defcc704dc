#include "analyzer/setting_integer.h"

#include <gtest/gtest.h>

namespace vanalyzer {
namespace {

struct ParseCase {
  const char* text;
  const char* decimal;  // nullptr: malformed
};

class ParseSettingIntegerTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSettingIntegerTest, AcceptsOnlyDecimalIntegers) {
  const ParseCase& c = GetParam();
  const auto parsed = parseSettingInteger(c.text);
  if (c.decimal == nullptr) {
    EXPECT_FALSE(parsed.has_value()) << c.text;
  } else {
    ASSERT_TRUE(parsed.has_value()) << c.text;
    EXPECT_EQ(parsed->decimal(), c.decimal);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseSettingIntegerTest,
    ::testing::Values(ParseCase{"8", "8"}, ParseCase{" 4 ", "4"}, ParseCase{"\t+7\r\n", "7"},
                      ParseCase{"-3", "-3"}, ParseCase{"007", "7"}, ParseCase{"-000", "0"},
                      ParseCase{"0", "0"},
                      ParseCase{"123456789012345678901234567890", "123456789012345678901234567890"},
                      ParseCase{"", nullptr}, ParseCase{" ", nullptr}, ParseCase{"4.0", nullptr},
                      ParseCase{"1e3", nullptr}, ParseCase{"1_000", nullptr}, ParseCase{"0x10", nullptr},
                      ParseCase{"+", nullptr}, ParseCase{"--1", nullptr}, ParseCase{"4 4", nullptr},
                      ParseCase{"abc", nullptr}, ParseCase{"+-2", nullptr}));

TEST(DecideThreadCount, EnablesAboveOneAndCapsAtThirtyTwo) {
  struct Case {
    const char* text;
    bool enables;
    bool capped;
  };
  for (const Case& c : {Case{"1", false, false}, Case{"0", false, false}, Case{"-3", false, false},
                        Case{"2", true, false}, Case{"8", true, false}, Case{"31", true, false},
                        Case{"32", true, true}, Case{"64", true, true},
                        Case{"99999999999999999999999", true, true}}) {
    const ThreadCountSetting decision = decideThreadCount(*parseSettingInteger(c.text));
    EXPECT_EQ(decision.enablesMultiThreading, c.enables) << c.text;
    EXPECT_EQ(decision.capped, c.capped) << c.text;
  }
}

}  // namespace
}  // namespace vanalyzer
