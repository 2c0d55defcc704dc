#include "analysis/size_prefetch.h"

#include <utility>

#include "analysis/file_system.h"

namespace vanalyzer::analysis {

SizePrefetch::SizePrefetch(TextList texts, PathOf pathOf)
    : texts_(std::move(texts)), entries_(texts_.size()), pathOf_(std::move(pathOf)) {
  worker_ = std::thread([this] { run(); });
}

SizePrefetch::~SizePrefetch() {
  stop_.store(true, std::memory_order_relaxed);
  worker_.join();
}

void SizePrefetch::run() {
  for (std::size_t index = 0; index < texts_.size() && !stop_.load(std::memory_order_relaxed); ++index) {
    const std::string_view text = texts_[index];
    Entry& entry = entries_[index];
    try {
      // where the loop has overtaken the thread (a slow share), what it passed is not sized again
      if (!text.empty() && index >= reached_.load(std::memory_order_relaxed)) {
        std::string path = pathOf_(index, text);
        if (!path.empty()) {
          entry.answer.size = fileSize(path, entry.answer.errorNumber);
          if (path != text) entry.path = std::make_unique<std::string>(std::move(path));
          entry.sized = true;
        }
      }
    } catch (...) {
      entry.sized = false;  // out of memory: this entry is left to the loop, which will say so itself
    }
    // publishes the entry: a reader that sees the count sees the entry whole
    done_.store(index + 1, std::memory_order_release);
  }
}

std::optional<FileSize> SizePrefetch::sized(std::size_t index, std::string_view path) {
  if (index >= done_.load(std::memory_order_acquire)) {
    if (index >= reached_.load(std::memory_order_relaxed)) reached_.store(index + 1, std::memory_order_relaxed);
    return std::nullopt;
  }
  const Entry& entry = entries_[index];
  if (!entry.sized || path != (entry.path ? *entry.path : texts_[index])) return std::nullopt;
  return entry.answer;
}

}  // namespace vanalyzer::analysis
