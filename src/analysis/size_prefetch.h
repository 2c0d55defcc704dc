// Sizes the files of a long list on a thread of its own, ahead of the loop that accounts them one
// by one, so that the loop seldom waits on the file system (a farm's network share answers each
// query in a fraction of a millisecond to milliseconds; the loop's own work is in the interpreter).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace vanalyzer::analysis {

// What fileSize answered for one path.
struct FileSize {
  std::optional<std::int64_t> size;
  int errorNumber = 0;
};

class SizePrefetch {
 public:
  // The path to size for entry index with the given text; empty for none. It runs on the
  // prefetch's thread, so it must not touch the interpreter.
  using PathOf = std::function<std::string(std::size_t index, std::string_view text)>;

  // Starts sizing the path of each text, in order; an empty text is not sized.
  SizePrefetch(std::vector<std::string> texts, PathOf pathOf);
  // Stops the thread at its next path and waits for it.
  ~SizePrefetch();
  SizePrefetch(const SizePrefetch&) = delete;
  SizePrefetch& operator=(const SizePrefetch&) = delete;

  // The answer for entry index when it is sized and its path is path; nothing otherwise (the caller
  // then asks the system itself, and the thread skips to the entries after it).
  std::optional<FileSize> sized(std::size_t index, std::string_view path);

 private:
  struct Entry {
    FileSize answer;
    bool sized = false;
    std::unique_ptr<std::string> path;  // only where the path is not the text itself (seldom)
  };

  void run();

  const std::vector<std::string> texts_;
  std::vector<Entry> entries_;
  PathOf pathOf_;
  std::atomic<std::size_t> done_{0};     // entries [0, done_) are final
  std::atomic<std::size_t> reached_{0};  // the loop has asked for entries [0, reached_) already
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace vanalyzer::analysis
