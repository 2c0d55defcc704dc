// Streaming tokenizer for Maya ASCII. Reads its input in fixed chunks so that memory stays flat
// whatever the file size, and skips unwanted statement bodies with a memchr scan.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "mayascene/parse_error.h"

namespace mayascene {

class Source {
 public:
  virtual ~Source() = default;
  // Fills up to n bytes; returns 0 at the end of the input.
  virtual std::size_t read(char* buffer, std::size_t n) = 0;
};

class MemorySource : public Source {
 public:
  explicit MemorySource(std::string_view data) : data_(data) {}
  std::size_t read(char* buffer, std::size_t n) override;

 private:
  std::string_view data_;
};

class FileSource : public Source {
 public:
  explicit FileSource(const std::string& path);  // throws std::runtime_error when it cannot open
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;
  std::size_t read(char* buffer, std::size_t n) override;
  // Reads on from a byte offset of the file; false when it cannot.
  bool seek(std::int64_t offset);

 private:
  std::FILE* file_ = nullptr;
  std::string path_;
};

// Code pages whose characters can take two bytes, the second of which may be 0x5C (a backslash),
// '{' or '}': after a lead byte that second byte belongs to the character, not to the syntax.
enum class DoubleByteEncoding {
  None,
  GbkOrBig5,  // 936, 54936 and 950: lead bytes 0x81-0xFE
  ShiftJis,   // 932: lead bytes 0x81-0x9F and 0xE0-0xFC (0xA1-0xDF are single-byte kana)
};

bool is_lead_byte(DoubleByteEncoding encoding, unsigned char byte);

enum class TokenKind {
  Word,       // bare word, number or flag
  String,     // quoted string (escapes resolved), or a ( "a" + "b" ) concatenation
  Semicolon,
  LBrace,
  RBrace,
  Comma,
  Comment,    // a "//" line outside strings (text without the slashes)
  End,
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;           // empty for a string longer than the lexer's cap (see length)
  std::int64_t line = 0;
  std::int64_t column = 0;
  std::int64_t offset = 0;    // file offset of its first byte
  std::uint64_t length = 0;   // String: the length of its text, also when that is over the cap

  bool over_cap() const { return kind == TokenKind::String && length != text.size(); }
};

class Lexer {
 public:
  // Strings longer than max_text bytes are measured and passed over, not kept (Token::over_cap).
  Lexer(Source& source, std::string file_name, std::size_t chunk_size = 1 << 20,
        std::uint64_t max_text = UINT64_MAX);

  // The next token, into `out` (whose text keeps its storage from one token to the next).
  void next(Token* out);
  Token next();
  // The encoding of the bytes after the current position (the `//Codeset:` header names it).
  void set_encoding(DoubleByteEncoding encoding);
  // Consumes everything up to and including the next ';' outside strings. `start` names the
  // statement for the error raised when the input ends first.
  void skip_statement(const Token& start);
  // Up to n of the bytes ahead, not consumed: fewer where the input or the buffered chunk ends first.
  std::string_view peek_bytes(std::size_t n);

  [[noreturn]] void fail(std::int64_t line, std::int64_t column, const std::string& what) const;
  [[noreturn]] void fail_here(const std::string& what) const;
  const std::string& file_name() const { return file_name_; }

 private:
  bool fill();  // true when at least one byte is available
  int peek();   // next byte or -1 at the end
  char take();  // consumes one byte (one is available)
  void advance_over(const char* from, const char* to);  // consumes [from, to), keeping line count
  std::int64_t column_at(std::int64_t offset) const { return offset - line_start_ + 1; }
  std::int64_t offset() const { return base_ + static_cast<std::int64_t>(pos_); }
  // After the opening quote: appends the text while `out` holds fewer than max_text_ bytes
  // (never, for a null out), counts all of it in *length.
  void read_string(std::string* out, std::uint64_t* length, std::int64_t line, std::int64_t column);
  void skip_string(std::int64_t line, std::int64_t column);
  void read_concatenation(Token* token);
  void read_word(Token* token);
  void read_comment(Token* token);
  void skip_space();
  void take_trail_byte(std::string* out, std::uint64_t* length);  // the second byte of a character

  Source& source_;
  std::string file_name_;
  std::size_t capacity_;
  // left uninitialised: a chunk is written by the source before it is read, and a small file's
  // read, or a value's, touches no more of it than it fills
  std::unique_ptr<char[]> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::int64_t base_ = 0;        // file offset of buffer_[0]
  std::int64_t line_ = 1;
  std::int64_t line_start_ = 0;  // file offset of the current line's first byte
  bool eof_ = false;
  DoubleByteEncoding encoding_ = DoubleByteEncoding::None;
  std::uint64_t max_text_;
  std::array<bool, 256> string_stop_{};  // bytes that end a plain run inside a string
  std::array<bool, 256> word_byte_{};    // bytes that continue a plain run of a word
};

}  // namespace mayascene
