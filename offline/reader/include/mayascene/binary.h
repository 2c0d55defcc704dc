// Reads a Maya Binary (.mb) scene into the scene model. The file is an IFF container (FOR4 groups
// up to Maya 2013, FOR8 from 2014); chunks that no command asks for (mesh, curve and other bulk
// data) are passed over unread, so memory stays small whatever the file's size. Throws ParseError
// (file, byte offset, chunk) for a truncated or corrupted file and std::runtime_error when the file
// cannot be read.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "mayascene/parse_error.h"
#include "mayascene/reader.h"
#include "mayascene/scene.h"

namespace mayascene {

// True when the first bytes of a file open a Maya Binary file: its top IFF group, FOR4 or FOR8.
bool is_maya_binary(std::string_view first_bytes);

// Random access to the bytes of one file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t size() const = 0;
  // Copies the n bytes at offset (offset + n <= size()) into buffer.
  virtual void read_at(std::uint64_t offset, char* buffer, std::size_t n) = 0;
};

class MemoryByteSource : public ByteSource {
 public:
  explicit MemoryByteSource(std::string_view data) : data_(data) {}
  std::uint64_t size() const override { return data_.size(); }
  void read_at(std::uint64_t offset, char* buffer, std::size_t n) override;

 private:
  std::string_view data_;
};

// A file read through a window of its bytes: chunk headers and small chunks are served from the
// window, a chunk passed over costs one seek.
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(const std::string& path);  // throws std::runtime_error when it cannot open
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;
  std::uint64_t size() const override { return size_; }
  void read_at(std::uint64_t offset, char* buffer, std::size_t n) override;

 private:
  void read_exactly(std::uint64_t offset, char* buffer, std::size_t n);

  std::FILE* file_ = nullptr;
  std::string path_;
  std::uint64_t size_ = 0;
  std::vector<char> window_;
  std::uint64_t window_start_ = 0;
  std::size_t window_size_ = 0;
};

// The environment variable naming the code page of texts that are not UTF-8 (a .mb file records
// none), and the code page used when it is unset.
constexpr const char* kCodePageVariable = "VANALYZER_MB_CODEPAGE";
constexpr const char* kDefaultCodePage = "1252";

// The code page of texts that are not valid UTF-8: $VANALYZER_MB_CODEPAGE, else 1252.
std::string fallback_code_page();

// `fallback_codeset` names the code page of the file's texts when they are not all valid UTF-8;
// Scene::codeset says which applies ("UTF-8" or the fallback; a text left in the file counts).
// A string value over options.max_value_bytes becomes a Span: the offset of its first byte in
// the file and its length, in the file's code page like every other text.
Scene read_binary(ByteSource& source, const std::string& name, const std::string& fallback_codeset,
                  const ReadOptions& options = ReadOptions());
Scene read_binary_file(const std::string& path, const ReadOptions& options = ReadOptions());

// The text of a Span value of a Maya Binary scene, read again from `source` (named `name`;
// read_span gives it the scene's file); `utf8`: the scene's code page is UTF-8, so the text was
// valid UTF-8 when read. std::runtime_error when the bytes there are no longer such a text (the
// file changed since).
std::string read_binary_span(ByteSource& source, const std::string& name, const Value& span, bool utf8);

}  // namespace mayascene
