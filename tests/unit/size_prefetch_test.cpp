// The accounting's size prefetch on real files: its answers are fileSize's, taken only for the very
// path it sized, and a loop that overtakes it is never slowed by it.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <future>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "analysis/size_prefetch.h"
#include "temporary_folder.h"

namespace vanalyzer::analysis {
namespace {

class SizePrefetchTest : public testing_support::TemporaryFolder {};

// A PathOf that says when the thread has come to an entry: asking for an entry before then would
// tell the thread that the loop has passed everything before it.
class Watched {
 public:
  explicit Watched(SizePrefetch::PathOf pathOf) : pathOf_(std::move(pathOf)) {}

  SizePrefetch::PathOf pathOf() {
    return [this](std::size_t index, std::string_view text) {
      reached_.store(index + 1);
      return pathOf_(index, text);
    };
  }

  // Waits (bounded far above need) until the thread has come to entry index.
  bool cameTo(std::size_t index) const {
    return waited([&] { return reached_.load() > index; });
  }

  // Waits until the thread has sized entry index for path.
  bool sizedAt(SizePrefetch& prefetch, std::size_t index, const std::string& path) const {
    return cameTo(index) && waited([&] { return prefetch.sized(index, path).has_value(); });
  }

 private:
  template <class Condition>
  static bool waited(Condition condition) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

  SizePrefetch::PathOf pathOf_;
  std::atomic<std::size_t> reached_{0};
};

std::string asWritten(std::size_t, std::string_view text) { return std::string(text); }

TEST_F(SizePrefetchTest, AnswersAsFileSizeForThePathItSized) {
  const std::string small = write("small.png", 3), empty = write("empty.png", 0);
  const std::string absent = (folder_ / "absent.png").string();
  const std::string last = write("last.png", 1);  // once it is sized, every entry before it is too
  Watched watched(asWritten);
  SizePrefetch prefetch({small, empty, absent, "", last}, watched.pathOf());
  ASSERT_TRUE(watched.sizedAt(prefetch, 4, last));

  const struct {
    std::size_t index;
    std::string path;
    bool answered;  // false: the loop must ask the system itself
    std::optional<std::int64_t> size;
  } cases[] = {
      {0, small, true, 3},
      {1, empty, true, 0},
      {2, absent, true, std::nullopt},
      {0, empty, false, {}},  // another entry's path is not this entry's answer
      {3, "", false, {}},     // an empty text is not sized
      {9, small, false, {}},  // past the end
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.index) + " " + c.path);
    const std::optional<FileSize> answer = prefetch.sized(c.index, c.path);
    ASSERT_EQ(answer.has_value(), c.answered);
    if (!c.answered) continue;
    EXPECT_EQ(answer->size, c.size);
    EXPECT_EQ(answer->errorNumber, c.size ? 0 : ENOENT);
  }
}

TEST_F(SizePrefetchTest, SizesThePathMadeFromEachText) {
  const std::string file = write("made.png", 5);
  const std::string last = write("last.png", 1);
  // the texts are names; their paths are made on the prefetch's thread
  Watched watched([this](std::size_t, std::string_view text) { return (folder_ / std::string(text)).string(); });
  SizePrefetch prefetch({"made.png", "last.png"}, watched.pathOf());
  ASSERT_TRUE(watched.sizedAt(prefetch, 1, last));
  ASSERT_TRUE(prefetch.sized(0, file));
  EXPECT_EQ(prefetch.sized(0, file)->size, 5);
  EXPECT_FALSE(prefetch.sized(0, "made.png"));  // the text is not the path it sized
}

TEST_F(SizePrefetchTest, AFailingPathIsLeftToTheLoop) {
  const std::string file = write("kept.png", 2);
  Watched watched([](std::size_t index, std::string_view text) -> std::string {
    if (index == 0) throw std::runtime_error("no path");
    return std::string(text);
  });
  SizePrefetch prefetch({"throws", file}, watched.pathOf());
  ASSERT_TRUE(watched.sizedAt(prefetch, 1, file));
  EXPECT_FALSE(prefetch.sized(0, "throws"));
}

TEST_F(SizePrefetchTest, WhatTheLoopHasPassedIsNotSizedAgain) {
  std::promise<void> passed;
  std::shared_future<void> go = passed.get_future().share();
  std::mutex lock;
  std::vector<std::size_t> made;
  std::vector<std::string> paths;
  TextList texts;
  for (int i = 0; i < 8; ++i) {
    paths.push_back(write("f" + std::to_string(i), 1));
    texts.push_back(paths.back());
  }
  Watched watched([&](std::size_t index, std::string_view text) {
    if (index == 0) go.wait();  // held at the first entry until the loop has passed five
    std::lock_guard<std::mutex> hold(lock);
    made.push_back(index);
    return std::string(text);
  });
  SizePrefetch prefetch(std::move(texts), watched.pathOf());
  ASSERT_TRUE(watched.cameTo(0));
  for (std::size_t index = 0; index < 5; ++index) EXPECT_FALSE(prefetch.sized(index, paths[index]));
  passed.set_value();
  ASSERT_TRUE(watched.sizedAt(prefetch, 7, paths[7]));
  std::lock_guard<std::mutex> hold(lock);
  EXPECT_EQ(made, (std::vector<std::size_t>{0, 5, 6, 7}));
}

TEST_F(SizePrefetchTest, StopsWhenTheLoopEndsEarly) {
  // sizing them all would take 100 s
  TextList texts;
  for (int i = 0; i < 100000; ++i) texts.push_back((folder_ / "absent").string());
  const std::size_t count = texts.size();
  std::atomic<std::size_t> made{0};
  {
    SizePrefetch prefetch(std::move(texts), [&](std::size_t, std::string_view text) {
      ++made;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return std::string(text);
    });
  }  // the loop failed at its first file: the prefetch ends without sizing the rest
  EXPECT_LT(made.load(), count);
}

}  // namespace
}  // namespace vanalyzer::analysis
