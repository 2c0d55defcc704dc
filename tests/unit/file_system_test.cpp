// The file-system queries on real files in a temporary folder.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "analysis/file_system.h"
#include "temporary_folder.h"

namespace vanalyzer::analysis {
namespace {

namespace fs = std::filesystem;

class FileSystem : public testing_support::TemporaryFolder {};

TEST_F(FileSystem, SizesFilesOfEveryLength) {
  for (std::size_t bytes : {0u, 1u, 4096u, 100000u}) {
    int error = 0;
    const auto size = fileSize(write("f" + std::to_string(bytes), bytes), error);
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(*size, static_cast<std::int64_t>(bytes));
  }
}

TEST_F(FileSystem, MissingFileReportsItsErrorNumber) {
  int error = 0;
  EXPECT_FALSE(fileSize((folder_ / "absent.png").string(), error).has_value());
  EXPECT_EQ(error, ENOENT);
  EXPECT_FALSE(pathExists((folder_ / "absent.png").string()));
  EXPECT_FALSE(canonicalPath((folder_ / "absent.png").string(), error).has_value());
  EXPECT_EQ(error, ENOENT);
}

TEST_F(FileSystem, ExistenceCountsFilesAndFolders) {
  EXPECT_TRUE(pathExists(write("a.tx", 3)));
  EXPECT_TRUE(pathExists(folder_.string()));
}

#if !defined(_WIN32)
TEST_F(FileSystem, CanonicalPathResolvesLinksAndDots) {
  const std::string target = write("target.tx", 5);
  fs::create_symlink(target, folder_ / "link.tx");
  int error = 0;
  const auto resolved = canonicalPath((folder_ / "sub" / ".." / "link.tx").string(), error);
  // "sub" does not exist: the system refuses to pass through it.
  EXPECT_FALSE(resolved.has_value());
  const auto direct = canonicalPath((folder_ / "." / "link.tx").string(), error);
  ASSERT_TRUE(direct.has_value());
  EXPECT_EQ(*direct, fs::canonical(target).string());
  // A link is sized by what it points to.
  EXPECT_EQ(fileSize((folder_ / "link.tx").string(), error).value_or(-1), 5);
}
#endif

}  // namespace
}  // namespace vanalyzer::analysis
