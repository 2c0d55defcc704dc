#include <gtest/gtest.h>

#include "scenegraph/glob.h"

namespace scenegraph {
namespace {

struct GlobCase {
  const char* pattern;
  const char* text;
  bool matches;
};

void PrintTo(const GlobCase& c, std::ostream* os) { *os << c.pattern << " ~ " << c.text; }

class GlobTest : public ::testing::TestWithParam<GlobCase> {};

TEST_P(GlobTest, MatchesAsFnmatchcase) {
  EXPECT_EQ(Glob(GetParam().pattern).matches(GetParam().text), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, GlobTest,
    ::testing::Values(GlobCase{"persp", "persp", true}, GlobCase{"persp", "perspShape", false},
                      GlobCase{"*Shape", "perspShape", true}, GlobCase{"*Shape", "Shape", true},
                      GlobCase{"*Shape", "perspShapes", false}, GlobCase{"p*p*e", "perspShape", true},
                      GlobCase{"**", "", true}, GlobCase{"?", "", false}, GlobCase{"file?", "file1", true},
                      GlobCase{"file?", "file12", false}, GlobCase{"file[0-9]", "file7", true},
                      GlobCase{"file[!0-9]", "file7", false}, GlobCase{"file[!0-9]", "fileA", true},
                      GlobCase{"[]a]", "]", true}, GlobCase{"[!]a]", "b", true}, GlobCase{"file[", "file[", true},
                      GlobCase{"chair:*", "chair:grp", true}, GlobCase{"*:grp", "set:chair:grp", true},
                      GlobCase{"Persp", "persp", false},                        // case matters
                      GlobCase{"tex\xc3\xa9?", "tex\xc3\xa9x", true},           // one character, two bytes
                      GlobCase{"tex?", "tex\xc3\xa9", true},
                      GlobCase{"a*b*c", "aXbYbZc", true}, GlobCase{"a*b*c", "aXbYbZ", false}));

TEST(GlobTest, KnowsItsWildcards) {
  EXPECT_FALSE(Glob("plain:name").has_wildcards());
  EXPECT_FALSE(Glob("open[").has_wildcards());
  EXPECT_TRUE(Glob("a*").has_wildcards());
  EXPECT_TRUE(Glob("a[bc]").has_wildcards());
}

}  // namespace
}  // namespace scenegraph
