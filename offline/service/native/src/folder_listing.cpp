#include "servicepaths/folder_listing.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <stdexcept>

namespace servicepaths {

namespace {

constexpr std::size_t kMaxBytes = std::numeric_limits<std::uint32_t>::max();

std::size_t hashOf(std::string_view name) { return std::hash<std::string_view>()(name); }

bool isAscii(std::string_view bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

}  // namespace

bool is_utf8(std::string_view bytes) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80) {
      ++at;
      continue;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // no overlong forms
      if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
    } else {
      return false;
    }
    if (bytes.size() - at < length) return false;
    for (std::size_t next = 1; next < length; ++next) {
      const auto byte = static_cast<unsigned char>(bytes[at + next]);
      if (byte < (next == 1 ? low : 0x80) || byte > (next == 1 ? high : 0xBF)) return false;
    }
    at += length;
  }
  return true;
}

std::optional<std::string> ascii_lowered(std::string_view name) {
  if (!isAscii(name)) return std::nullopt;
  std::string lowered(name);
  for (char& byte : lowered)
    if (byte >= 'A' && byte <= 'Z') byte = static_cast<char>(byte - 'A' + 'a');
  return lowered;
}

void FolderListing::add(std::string_view name, Kind kind) {
  if (text_.size() + name.size() > kMaxBytes || entries_.size() >= kMaxBytes / 2)
    throw std::length_error("a folder listing past 4 GiB of names");
  entries_.push_back(
      Entry{static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(name.size()), kind});
  text_.append(name);
  if (kind == Kind::bytes) ++bytesCount_;
  if (!isAscii(name)) {
    allAscii_ = false;
    allUtf8_ = allUtf8_ && is_utf8(name);
  }
}

std::string_view FolderListing::name(std::size_t at) const {
  return std::string_view(text_).substr(entries_[at].begin, entries_[at].length);
}

void FolderListing::finish() {
  text_.shrink_to_fit();
  entries_.shrink_to_fit();
  std::sort(entries_.begin(), entries_.end(), [this](const Entry& left, const Entry& right) {
    return std::string_view(text_).substr(left.begin, left.length) <
           std::string_view(text_).substr(right.begin, right.length);
  });
  std::size_t capacity = 16;  // at most two thirds full
  while (capacity < entries_.size() + entries_.size() / 2) capacity *= 2;
  slots_.assign(capacity, 0);
  for (std::size_t at = 0; at < entries_.size(); ++at) {
    std::size_t slot = hashOf(name(at)) & (capacity - 1);
    while (slots_[slot] != 0) slot = (slot + 1) & (capacity - 1);
    slots_[slot] = static_cast<std::uint32_t>(at + 1);
  }
}

std::optional<std::size_t> FolderListing::find(std::string_view wanted) const {
  if (slots_.empty()) return std::nullopt;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t slot = hashOf(wanted) & mask; slots_[slot] != 0; slot = (slot + 1) & mask) {
    const std::size_t at = slots_[slot] - 1;
    if (name(at) == wanted) return at;
  }
  return std::nullopt;
}

std::pair<std::size_t, std::size_t> FolderListing::starting(std::string_view prefix) const {
  const auto bytesOf = [this](const Entry& entry) {
    return std::string_view(text_).substr(entry.begin, entry.length);
  };
  const auto first = std::lower_bound(entries_.begin(), entries_.end(), prefix,
                                      [&](const Entry& entry, std::string_view wanted) { return bytesOf(entry) < wanted; });
  auto last = first;
  while (last != entries_.end() && bytesOf(*last).substr(0, prefix.size()) == prefix) ++last;
  return {static_cast<std::size_t>(first - entries_.begin()), static_cast<std::size_t>(last - entries_.begin())};
}

FoldedNames::FoldedNames(const FolderListing& listing,
                         const std::function<std::optional<std::string>(std::size_t)>& folded)
    : unchanged_(listing.size(), true) {
  for (std::size_t at = 0; at < listing.size(); ++at) {
    const std::optional<std::string> key = folded(at);
    if (!key || *key == listing.name(at)) continue;
    unchanged_[at] = false;
    others_.push_back({{text_.size(), key->size()}, at});
    text_.append(*key);
  }
  const auto keyOf = [this](const auto& other) { return std::string_view(text_).substr(other.first.first, other.first.second); };
  std::stable_sort(others_.begin(), others_.end(),
                   [&](const auto& left, const auto& right) { return keyOf(left) < keyOf(right); });
}

std::vector<std::size_t> FoldedNames::folding_to(const FolderListing& listing, std::string_view key) const {
  std::vector<std::size_t> entries;
  const std::optional<std::size_t> itself = listing.find(key);
  if (itself && unchanged_[*itself]) entries.push_back(*itself);
  const auto keyOf = [this](const auto& other) { return std::string_view(text_).substr(other.first.first, other.first.second); };
  auto other = std::lower_bound(others_.begin(), others_.end(), key,
                                [&](const auto& entry, std::string_view wanted) { return keyOf(entry) < wanted; });
  for (; other != others_.end() && keyOf(*other) == key; ++other) entries.push_back(other->second);
  std::sort(entries.begin(), entries.end());
  return entries;
}

namespace {

char asciiLowered(char byte) { return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte; }

// left < right with ASCII letters lowered, comparing at most the first limit bytes
bool foldedLess(std::string_view left, std::string_view right, std::size_t limit = std::string_view::npos) {
  const std::size_t length = std::min({left.size(), right.size(), limit});
  for (std::size_t at = 0; at < length; ++at) {
    const auto a = static_cast<unsigned char>(asciiLowered(left[at]));
    const auto b = static_cast<unsigned char>(asciiLowered(right[at]));
    if (a != b) return a < b;
  }
  return std::min(left.size(), limit) < std::min(right.size(), limit);
}

}  // namespace

AsciiFoldedOrder::AsciiFoldedOrder(const FolderListing& listing) {
  order_.resize(listing.size());
  for (std::size_t at = 0; at < listing.size(); ++at) {
    order_[at] = static_cast<std::uint32_t>(at);
    const std::string_view name = listing.name(at);
    const auto wide = std::find_if(name.begin(), name.end(), [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
    if (wide != name.end())
      unfoldable_.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(wide - name.begin())});
  }
  std::stable_sort(order_.begin(), order_.end(), [&](std::uint32_t left, std::uint32_t right) {
    return foldedLess(listing.name(left), listing.name(right));
  });
}

std::vector<std::size_t> AsciiFoldedOrder::starting(const FolderListing& listing, std::string_view prefix) const {
  const std::size_t length = prefix.size();
  const auto first = std::lower_bound(order_.begin(), order_.end(), prefix, [&](std::uint32_t entry, std::string_view wanted) {
    return foldedLess(listing.name(entry), wanted, length);
  });
  std::vector<std::size_t> entries;
  for (auto at = first; at != order_.end() && !foldedLess(prefix, listing.name(*at), length); ++at) entries.push_back(*at);
  for (const auto& [entry, wide] : unfoldable_)
    if (wide < length) entries.push_back(entry);
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace servicepaths
