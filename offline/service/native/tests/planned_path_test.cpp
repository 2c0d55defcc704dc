#include "servicepaths/planned_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using servicepaths::plannedFolderEnd;

struct Case {
  const char* path;
  std::optional<std::size_t> folderEnd;
};

TEST(PlannedFolderEnd, AnswersOnlyPathsWhoseRulesDoNotDependOnTheName) {
  const Case cases[] = {
      {"/p/sourceimages/wood.jpg", 16},
      {"sourceimages/d0001/tex.exr", 19},
      {"tex.exr", 0},
      {"/tex.exr", 1},
      {"../maps/a.png", 8},
      {"/p/\xe7\xba\xb9\xe7\x90\x86/\xe6\x9c\xa8.png", 10},  // Chinese folder and name
      {"/p/a/", std::nullopt},                                 // no name
      {"/p/a/.", std::nullopt},
      {"/p/a/..", std::nullopt},
      {"/p/a/...", 5},
      {"", std::nullopt},
      {"C:/maps/a.png", std::nullopt},  // a drive
      {"c:a.png", std::nullopt},
      {"//server/share/a.png", std::nullopt},
      {"/p\\maps\\a.png", std::nullopt},
      {"$HOME/a.png", std::nullopt},
      {"/p/%SHOTS%/a.png", std::nullopt},
      {"/p/a.<UDIM>.exr", std::nullopt},
      {"/p/a.<f>.exr", std::nullopt},
      {"/p/a.####.exr", std::nullopt},
      {"/p/a_MAPID_.exr", std::nullopt},
      {"/p/a_MaPiD_.exr", std::nullopt},
      {"/p_mapid_/a.exr", std::nullopt},  // the token test reads the whole path
      {"/p/a_mapi_d_.exr", 3},
      {"/p/a_map", 3},
      {" /p/a.png", std::nullopt},
      {"/p/a.png ", std::nullopt},
      {"/p/a.png\t", std::nullopt},
      {"/p/a.png\x1f", std::nullopt},
      {"/p/a.png\xc2\xa0", std::nullopt},  // a no-break space: left to the rules
      {"\xc3\xa9:/a.png", std::nullopt},   // a non-ASCII first character
      {"/p/a.p\xc3\xa9ng", 3},             // non-ASCII inside is plain text
  };
  for (const Case& c : cases) EXPECT_EQ(plannedFolderEnd(c.path), c.folderEnd) << "path: \"" << c.path << '"';
}

TEST(PlannedFolderEnd, ReadsPathsWithNulBytesWhole) {
  const std::string path("/p/a\0<UDIM>.exr", 15);
  EXPECT_EQ(plannedFolderEnd(path), std::nullopt);
  EXPECT_EQ(plannedFolderEnd(std::string("/p/a\0b.exr", 10)), 3u);
}

}  // namespace
