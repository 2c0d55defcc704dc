// Companion names against os.path.splitext (posixpath and ntpath).
#include <gtest/gtest.h>

#include <string>

#include "analysis/companion_names.h"

namespace vanalyzer::analysis {
namespace {

struct CompanionCase {
  std::string path;
  std::string posix;    // posixpath.splitext(path)[0] + ".tx"
  std::string windows;  // ntpath.splitext(path)[0] + ".tx"
};

class CompanionName : public ::testing::TestWithParam<CompanionCase> {};

TEST_P(CompanionName, ReplacesTheExtensionAsSplitextDoes) {
  const CompanionCase& c = GetParam();
  EXPECT_EQ(companionPath(c.path, ".tx", PathFlavour::Posix), c.posix) << c.path;
  EXPECT_EQ(companionPath(c.path, ".tx", PathFlavour::Windows), c.windows) << c.path;
}

INSTANTIATE_TEST_SUITE_P(Table, CompanionName, ::testing::ValuesIn(std::initializer_list<CompanionCase>{
    {"C:\\tex\\wood.png", "C:\\tex\\wood.tx", "C:\\tex\\wood.tx"},
    {"C:\\tex\\a.b.png", "C:\\tex\\a.b.tx", "C:\\tex\\a.b.tx"},
    {"C:\\tex\\wood", "C:\\tex\\wood.tx", "C:\\tex\\wood.tx"},
    {"/tex/.hidden", "/tex/.hidden.tx", "/tex/.hidden.tx"},
    {"/tex/..png", "/tex/..png.tx", "/tex/..png.tx"},
    {"/tex/...a.png", "/tex/...a.tx", "/tex/...a.tx"},
    {"/a.dir/file", "/a.dir/file.tx", "/a.dir/file.tx"},
    {"/tex/wood.", "/tex/wood.tx", "/tex/wood.tx"},
    {"/tex/wood.tx", "/tex/wood.tx", "/tex/wood.tx"},
    {"C:/tex.d\\wood", "C:/tex.tx", "C:/tex.d\\wood.tx"},
    {"C:\\tex.d/wood", "C:\\tex.d/wood.tx", "C:\\tex.d/wood.tx"},
    {"", ".tx", ".tx"},
    {"a.png", "a.tx", "a.tx"},
    {".", "..tx", "..tx"},
    {"..", "...tx", "...tx"},
    {"/x/.a.b", "/x/.a.tx", "/x/.a.tx"},
}));

TEST(CompanionName, KeepsTheSuffixGiven) {
  EXPECT_EQ(companionPath("C:\\tex\\wood.png", ".rstexbin", PathFlavour::Windows), "C:\\tex\\wood.rstexbin");
}

}  // namespace
}  // namespace vanalyzer::analysis
