// The byte sources of the binary reader: a memory block, and a file read through a window.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "mayascene/binary.h"

namespace mayascene {

namespace {

constexpr std::size_t kWindowSize = 64 * 1024;

// 64-bit file positions: _fseeki64 on Windows, fseeko elsewhere.
int seek_to(std::FILE* file, std::uint64_t offset) {
#ifdef _WIN32
  return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET);
#else
  return fseeko(file, static_cast<off_t>(offset), SEEK_SET);
#endif
}

std::uint64_t file_size(std::FILE* file) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return 0;
  const __int64 end = _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0) return 0;
  const off_t end = ftello(file);
#endif
  return end < 0 ? 0 : static_cast<std::uint64_t>(end);
}

}  // namespace

void MemoryByteSource::read_at(std::uint64_t offset, char* buffer, std::size_t n) {
  if (n != 0) std::memcpy(buffer, data_.data() + offset, n);
}

FileByteSource::FileByteSource(const std::string& path) : path_(path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) throw std::runtime_error(path + ": cannot open: " + std::strerror(errno));
  size_ = file_size(file_);
}

FileByteSource::~FileByteSource() { std::fclose(file_); }

void FileByteSource::read_exactly(std::uint64_t offset, char* buffer, std::size_t n) {
  if (seek_to(file_, offset) != 0 || std::fread(buffer, 1, n, file_) != n) {
    throw std::runtime_error(path_ + ": read error at byte " + std::to_string(offset));
  }
}

void FileByteSource::read_at(std::uint64_t offset, char* buffer, std::size_t n) {
  if (n == 0) return;
  if (offset >= window_start_ && offset - window_start_ + n <= window_size_) {
    std::memcpy(buffer, window_.data() + (offset - window_start_), n);
    return;
  }
  if (n >= kWindowSize / 2) {  // a large chunk goes straight to its buffer
    read_exactly(offset, buffer, n);
    return;
  }
  window_.resize(kWindowSize);
  window_size_ = 0;  // until the refill succeeds
  const std::size_t fill = static_cast<std::size_t>(std::min<std::uint64_t>(kWindowSize, size_ - offset));
  read_exactly(offset, window_.data(), fill);
  window_start_ = offset;
  window_size_ = fill;
  std::memcpy(buffer, window_.data(), n);
}

}  // namespace mayascene
