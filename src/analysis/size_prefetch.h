// Sizes the files of a long list on a thread of its own, ahead of the loop that accounts them one
// by one, so that the loop seldom waits on the file system (a farm's network share answers each
// query in a fraction of a millisecond to milliseconds; the loop's own work is in the interpreter).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
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

// Texts end to end in one buffer: a list of a hundred thousand paths is two allocations, given
// back whole when the list goes, instead of one small allocation a path.
class TextList {
 public:
  TextList() = default;
  TextList(std::initializer_list<std::string_view> texts) {
    for (std::string_view text : texts) push_back(text);
  }

  void push_back(std::string_view text) {
    buffer_.append(text);
    ends_.push_back(buffer_.size());
  }
  std::size_t size() const { return ends_.size(); }
  std::string_view operator[](std::size_t index) const {
    const std::size_t start = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(buffer_).substr(start, ends_[index] - start);
  }

 private:
  std::string buffer_;
  std::vector<std::size_t> ends_;
};

class SizePrefetch {
 public:
  // The path to size for entry index with the given text; empty for none. It runs on the
  // prefetch's thread, so it must not touch the interpreter.
  using PathOf = std::function<std::string(std::size_t index, std::string_view text)>;

  // Starts sizing the path of each text, in order; an empty text is not sized.
  SizePrefetch(TextList texts, PathOf pathOf);
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

  const TextList texts_;
  std::vector<Entry> entries_;
  PathOf pathOf_;
  std::atomic<std::size_t> done_{0};     // entries [0, done_) are final
  std::atomic<std::size_t> reached_{0};  // the loop has asked for entries [0, reached_) already
  std::atomic<bool> stop_{false};
  std::thread worker_;
};

}  // namespace vanalyzer::analysis
