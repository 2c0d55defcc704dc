#include "long_texts.h"

#include <algorithm>
#include <cstring>

#include "text.h"

namespace mayascene {
namespace binary {

namespace {

constexpr std::size_t kScanBuffer = 1 << 20;

// The bytes of the UTF-8 sequence a byte opens (1 for a byte that opens none: is_valid_utf8 judges it).
std::size_t sequence_length(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF7) return 4;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xC0 && lead <= 0xDF) return 2;
  return 1;
}

}  // namespace

void Utf8Pieces::feed(std::string_view piece) {
  if (!ok_) return;
  if (!carry_.empty()) {
    const std::size_t wanted = sequence_length(static_cast<unsigned char>(carry_[0])) - carry_.size();
    const std::size_t taken = std::min(wanted, piece.size());
    carry_.append(piece.data(), taken);
    piece.remove_prefix(taken);
    if (taken < wanted) return;
    ok_ = is_valid_utf8(carry_);
    carry_.clear();
    if (!ok_) return;
  }
  // A sequence cut by the piece's end waits for the next piece.
  std::size_t cut = piece.size();
  for (std::size_t back = 1; back <= 3 && back <= piece.size(); ++back) {
    const auto c = static_cast<unsigned char>(piece[piece.size() - back]);
    if ((c & 0xC0) == 0x80) continue;
    if (sequence_length(c) > back) cut = piece.size() - back;
    break;
  }
  ok_ = is_valid_utf8(piece.substr(0, cut));
  carry_.assign(piece.data() + cut, piece.size() - cut);
}

TextScanner::TextScanner(ByteSource& source, std::uint64_t from, std::uint64_t end)
    : source_(source), at_(from), end_(end) {}

std::string_view TextScanner::window() {
  if (at_ < buffer_start_ || at_ >= buffer_start_ + buffer_size_) {
    // No larger than the range: with a low cap, many small chunks are scanned.
    buffer_size_ = static_cast<std::size_t>(std::min<std::uint64_t>(kScanBuffer, end_ - at_));
    if (buffer_.size() < buffer_size_) buffer_.resize(buffer_size_);
    buffer_start_ = at_;
    source_.read_at(at_, buffer_.data(), buffer_size_);
  }
  const std::size_t skip = static_cast<std::size_t>(at_ - buffer_start_);
  return std::string_view(buffer_.data() + skip, buffer_size_ - skip);
}

bool TextScanner::next(TextExtent* text) {
  if (at_ >= end_) return false;
  *text = TextExtent();
  text->offset = at_;
  Utf8Pieces utf8;
  while (at_ < end_) {
    const std::string_view bytes = window();
    const void* nul = std::memchr(bytes.data(), '\0', bytes.size());
    const std::size_t n = nul == nullptr ? bytes.size() : static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data());
    utf8.feed(bytes.substr(0, n));
    text->length += n;
    at_ += n;
    if (nul != nullptr) {
      ++at_;
      text->terminated = true;
      break;
    }
  }
  text->utf8 = utf8.valid();
  return true;
}

bool TextScanner::take(std::size_t n, std::string* out) {
  if (end_ - at_ < n) return false;
  out->resize(n);
  if (n != 0) source_.read_at(at_, &(*out)[0], n);
  at_ += n;
  return true;
}

}  // namespace binary
}  // namespace mayascene
