// Absolute paths against the interpreter's os.path.abspath: each expected value below is what
// posixpath.abspath / ntpath.abspath answer with the given current directory.
#include <gtest/gtest.h>

#include <string>

#include "analysis/path_rules.h"

namespace vanalyzer::analysis {
namespace {

struct AbsoluteCase {
  std::string path;
  std::string currentDirectory;
  std::string expected;
};

class PosixAbsolutePath : public ::testing::TestWithParam<AbsoluteCase> {};

TEST_P(PosixAbsolutePath, MatchesPosixpathAbspath) {
  const AbsoluteCase& c = GetParam();
  EXPECT_EQ(absolutePath(c.path, c.currentDirectory, PathFlavour::Posix), c.expected) << c.path;
}

INSTANTIATE_TEST_SUITE_P(Table, PosixAbsolutePath, ::testing::ValuesIn(std::initializer_list<AbsoluteCase>{
    {"/a/b/c.png", "/w", "/a/b/c.png"},
    {"a/b.png", "/work", "/work/a/b.png"},
    {"./a/../b.png", "/work/dir", "/work/dir/b.png"},
    {"../x.png", "/work/dir", "/work/x.png"},
    {"../../../x", "/w", "/x"},
    {"//srv/x/../y", "/w", "//srv/y"},
    {"///srv//x", "/w", "/srv/x"},
    {"/a/./b//c/", "/w", "/a/b/c"},
    {"", "/w", "/w"},
    {".", "/w/", "/w"},
    {"a/b/..", "/", "/a"},
    {"..", "/", "/"},
    {"/..", "/w", "/"},
    {"x", "//net", "//net/x"},
    {"/a/b/../../..", "/w", "/"},
    {"tex/a.png", "/w/./d/../e", "/w/e/tex/a.png"},
    {"a.png", "/w/", "/w/a.png"},
    {"/\xc3\xa9/\xc3\xbc.png", "/w", "/\xc3\xa9/\xc3\xbc.png"},
    {"d\\e.png", "/w", "/w/d\\e.png"},
    // paths that are already in normal form come back as they are; the others are normalised
    {"/", "/w", "/"},
    {"//", "/w", "//"},
    {"///", "/w", "/"},
    {"//a", "/w", "//a"},
    {"//a/", "/w", "//a"},
    {"///a/b", "/w", "/a/b"},
    {"/a/.", "/w", "/a"},
    {"/a/b/..", "/w", "/a"},
    {"/a//b", "/w", "/a/b"},
    {"/a/.b/c..", "/w", "/a/.b/c.."},
}));

// ntpath as the system's own resolution behaves: a rooted path without a drive takes the current
// drive (as ntpath does from 3.13 on), and "\\?\" paths are left as they are (as before 3.11).
class WindowsAbsolutePath : public ::testing::TestWithParam<AbsoluteCase> {};

TEST_P(WindowsAbsolutePath, MatchesNtpathAbspath) {
  const AbsoluteCase& c = GetParam();
  EXPECT_EQ(absolutePath(c.path, c.currentDirectory, PathFlavour::Windows), c.expected) << c.path;
}

INSTANTIATE_TEST_SUITE_P(Table, WindowsAbsolutePath, ::testing::ValuesIn(std::initializer_list<AbsoluteCase>{
    {"c:/proj/tex/a.png", "D:\\work", "c:\\proj\\tex\\a.png"},
    {"tex/a.png", "D:\\work", "D:\\work\\tex\\a.png"},
    {"tex\\..\\b.png", "D:\\work\\x", "D:\\work\\x\\b.png"},
    {"C:\\a\\\\b\\.\\c", "D:\\w", "C:\\a\\b\\c"},
    {"\\rooted\\x.png", "D:\\work", "D:\\rooted\\x.png"},
    {"/rooted/x.png", "D:\\work", "D:\\rooted\\x.png"},
    {"C:rel\\x.png", "C:\\work", "C:\\work\\rel\\x.png"},
    {"C:rel\\x.png", "D:\\work", "C:rel\\x.png"},
    {"c:rel", "c:\\w", "c:\\w\\rel"},
    {"\\\\server\\share\\x\\..\\y.png", "D:\\w", "\\\\server\\share\\y.png"},
    {"//server/share/a/b", "D:\\w", "\\\\server\\share\\a\\b"},
    {"C:\\..\\..\\x", "D:\\w", "C:\\x"},
    {"..\\..\\..\\x", "D:\\w", "D:\\x"},
    {"C:/", "D:\\w", "C:\\"},
    {"", "D:\\w", "D:\\w"},
    {"\\\\?\\C:\\a\\..\\b", "D:\\w", "\\\\?\\C:\\a\\..\\b"},
    {"\\\\.\\pipe\\x", "D:\\w", "\\\\.\\pipe\\x"},
    {"a/b/", "\\\\srv\\share", "\\\\srv\\share\\a\\b"},
    {"a", "\\\\srv\\share\\", "\\\\srv\\share\\a"},
    {"x.png", "D:\\", "D:\\x.png"},
    {"\xc3\xa9\\\xc3\xbc.png", "D:\\w", "D:\\w\\\xc3\xa9\\\xc3\xbc.png"},
}));

struct UpperCase {
  std::string path;
  std::string expected;
  bool ascii;
};

class UpperFirst : public ::testing::TestWithParam<UpperCase> {};

TEST_P(UpperFirst, ChangesOnlyTheFirstAsciiCharacter) {
  std::string path = GetParam().path;
  EXPECT_EQ(upperFirstAscii(path), GetParam().ascii);
  EXPECT_EQ(path, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, UpperFirst, ::testing::ValuesIn(std::initializer_list<UpperCase>{
    {"c:\\tex\\a.png", "C:\\tex\\a.png", true},
    {"C:\\tex\\a.png", "C:\\tex\\a.png", true},
    {"/tex/a.png", "/tex/a.png", true},
    {"abc", "Abc", true},
    {"", "", true},
    {"\xc3\xa9:\\x", "\xc3\xa9:\\x", false},
}));

}  // namespace
}  // namespace vanalyzer::analysis
