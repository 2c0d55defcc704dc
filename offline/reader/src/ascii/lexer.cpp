#include "mayascene/lexer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mayascene {

namespace {

bool is_space(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Bytes that end a bare word. '+' is a word byte (numbers such as 1e+006); the concatenation
// parser recognises a lone "+".
bool ends_word(int c) {
  return is_space(c) || c == ';' || c == '"' || c == '{' || c == '}' || c == ',' || c == '(' ||
         c == ')';
}

// Every second byte of the double-byte code pages is 0x40 or above (0x7F excepted); anything else
// after a lead byte (a quote, a line end) is a broken character and keeps its own meaning.
bool is_trail_byte(int c) { return c >= 0x40 && c != 0x7F; }

bool is_control(int c) { return (c >= 0 && c < 0x20 && !is_space(c)) || c == 0x7f; }

std::string byte_name(int c) {
  static const char digits[] = "0123456789abcdef";
  std::string s = "byte 0x";
  s += digits[(c >> 4) & 0xf];
  s += digits[c & 0xf];
  return s;
}

}  // namespace

bool is_lead_byte(DoubleByteEncoding encoding, unsigned char byte) {
  switch (encoding) {
    case DoubleByteEncoding::None: return false;
    case DoubleByteEncoding::GbkOrBig5: return byte >= 0x81 && byte <= 0xFE;
    case DoubleByteEncoding::ShiftJis: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
  }
  return false;
}

std::size_t MemorySource::read(char* buffer, std::size_t n) {
  const std::size_t count = std::min(n, data_.size());
  if (count != 0) std::memcpy(buffer, data_.data(), count);
  data_.remove_prefix(count);
  return count;
}

FileSource::FileSource(const std::string& path) : path_(path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    throw std::runtime_error(path + ": cannot open: " + std::strerror(errno));
  }
}

FileSource::~FileSource() { std::fclose(file_); }

bool FileSource::seek(std::int64_t offset) {
#if defined(_WIN32)
  return _fseeki64(file_, offset, SEEK_SET) == 0;
#else
  return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::size_t FileSource::read(char* buffer, std::size_t n) {
  const std::size_t count = std::fread(buffer, 1, n, file_);
  if (count == 0 && std::ferror(file_)) throw std::runtime_error(path_ + ": read error");
  return count;
}

Lexer::Lexer(Source& source, std::string file_name, std::size_t chunk_size, std::uint64_t max_text)
    : source_(source),
      file_name_(std::move(file_name)),
      capacity_(std::max<std::size_t>(chunk_size, 16)),
      buffer_(new char[capacity_]),
      max_text_(max_text) {
  set_encoding(DoubleByteEncoding::None);
}

void Lexer::set_encoding(DoubleByteEncoding encoding) {
  encoding_ = encoding;
  for (int c = 0; c < 256; ++c) {
    const bool lead = is_lead_byte(encoding, static_cast<unsigned char>(c));
    string_stop_[c] = c == '"' || c == '\\' || c == '\n' || lead;
    // A plain run of a word stops at its end, a control byte, a lead byte and '/' (a "//" opens a
    // comment); those are looked at one by one.
    word_byte_[c] = !ends_word(c) && !is_control(c) && !lead && c != '/';
  }
}

void Lexer::fail(std::int64_t line, std::int64_t column, const std::string& what) const {
  throw ParseError(file_name_, line, column, what);
}

void Lexer::fail_here(const std::string& what) const { fail(line_, column_at(offset()), what); }

bool Lexer::fill() {
  if (pos_ < end_) return true;
  if (eof_) return false;
  base_ += static_cast<std::int64_t>(end_);
  pos_ = 0;
  end_ = source_.read(buffer_.get(), capacity_);
  if (end_ == 0) eof_ = true;
  return end_ != 0;
}

int Lexer::peek() { return fill() ? static_cast<unsigned char>(buffer_[pos_]) : -1; }

std::string_view Lexer::peek_bytes(std::size_t n) {
  if (!fill()) return {};
  return std::string_view(buffer_.get() + pos_, std::min(n, end_ - pos_));
}

char Lexer::take() {
  const char c = buffer_[pos_++];
  if (c == '\n') {
    ++line_;
    line_start_ = offset();
  }
  return c;
}

void Lexer::advance_over(const char* from, const char* to) {
  const char* last = nullptr;
  for (const char* p = from; p < to;) {
    const void* hit = std::memchr(p, '\n', static_cast<std::size_t>(to - p));
    if (hit == nullptr) break;
    last = static_cast<const char*>(hit);
    ++line_;
    p = last + 1;
  }
  pos_ += static_cast<std::size_t>(to - from);
  if (last != nullptr) line_start_ = base_ + (last + 1 - buffer_.get());
}

void Lexer::skip_space() {
  while (fill()) {
    const char* p = buffer_.get() + pos_;
    const char* e = buffer_.get() + end_;
    while (p < e && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')) {
      if (*p == '\n') {
        ++line_;
        line_start_ = base_ + (p + 1 - buffer_.get());
      }
      ++p;
    }
    pos_ = static_cast<std::size_t>(p - buffer_.get());
    if (p < e) return;
  }
}

void Lexer::read_string(std::string* out, std::uint64_t* length, std::int64_t line, std::int64_t column) {
  auto keep = [&](const char* from, std::size_t n) {
    if (out != nullptr && *length + n <= max_text_) out->append(from, n);
    *length += n;
  };
  for (;;) {
    if (!fill()) fail(line, column, "unterminated string");
    const char* p = buffer_.get() + pos_;
    const char* e = buffer_.get() + end_;
    const char* stop = p;
    while (stop < e && !string_stop_[static_cast<unsigned char>(*stop)]) ++stop;
    keep(p, static_cast<std::size_t>(stop - p));
    pos_ += static_cast<std::size_t>(stop - p);  // no line end in a plain run
    if (stop == e) continue;
    const char c = take();
    if (c == '"') break;
    if (c == '\n') {
      keep("\n", 1);
      continue;
    }
    if (c != '\\') {  // a lead byte
      keep(&c, 1);
      take_trail_byte(out, length);
      continue;
    }
    if (!fill()) fail(line, column, "unterminated string");
    const char escaped = take();
    switch (escaped) {
      case 'n': keep("\n", 1); break;
      case 't': keep("\t", 1); break;
      case '"': keep("\"", 1); break;
      case '\\': keep("\\", 1); break;
      default: {  // MEL keeps unknown escapes as written
        const char both[2] = {'\\', escaped};
        keep(both, 2);
      }
    }
  }
  // Over the cap: nothing kept, so that a caller never sees a cut text.
  if (out != nullptr && *length > max_text_) out->clear();
}

void Lexer::take_trail_byte(std::string* out, std::uint64_t* length) {
  if (fill() && is_trail_byte(peek())) {
    const char c = take();
    if (out != nullptr && *length + 1 <= max_text_) out->push_back(c);
    ++*length;
  }
}

void Lexer::skip_string(std::int64_t line, std::int64_t column) {
  if (encoding_ != DoubleByteEncoding::None) {
    // A 0x5C may be a second byte, which only a pass from the opening quote can tell.
    std::uint64_t length = 0;
    read_string(nullptr, &length, line, column);
    return;
  }
  for (;;) {
    if (!fill()) fail(line, column, "unterminated string");
    const char* p = buffer_.get() + pos_;
    const std::size_t n = end_ - pos_;
    const char* quote = static_cast<const char*>(std::memchr(p, '"', n));
    const char* limit = quote != nullptr ? quote : p + n;
    const char* backslash = static_cast<const char*>(std::memchr(p, '\\', static_cast<std::size_t>(limit - p)));
    if (backslash != nullptr) {
      advance_over(p, backslash + 1);
      if (!fill()) fail(line, column, "unterminated string");
      take();
      continue;
    }
    if (quote != nullptr) {
      advance_over(p, quote + 1);
      return;
    }
    advance_over(p, limit);
  }
}

void Lexer::read_concatenation(Token* token) {
  // ( "a" + "b" + ... ) is one string; Maya writes long strings this way.
  bool want_string = true;
  for (;;) {
    skip_space();
    const std::int64_t line = line_;
    const std::int64_t column = column_at(offset());
    const int c = peek();
    if (c < 0) fail(token->line, token->column, "unterminated string concatenation");
    if (want_string) {
      if (c != '"') fail(line, column, "expected a string in the concatenation");
      take();
      const bool kept_so_far = token->length == token->text.size();
      read_string(kept_so_far ? &token->text : nullptr, &token->length, line, column);
      if (token->length > max_text_) token->text.clear();
      want_string = false;
    } else if (c == ')') {
      take();
      return;
    } else if (c == '+') {
      take();
      want_string = true;
    } else {
      fail(line, column, "expected '+' or ')' in the string concatenation");
    }
  }
}

void Lexer::read_comment(Token* token) {
  // A comment: only whole lines outside strings are comments in Maya ASCII. Only the header's
  // are read, and those are short: past 64 KiB a line is passed over, whatever the cap on values.
  constexpr std::size_t kKept = 1 << 16;
  token->kind = TokenKind::Comment;
  token->text.clear();
  while (fill()) {
    const char* p = buffer_.get() + pos_;
    const std::size_t n = end_ - pos_;
    const char* newline = static_cast<const char*>(std::memchr(p, '\n', n));
    const char* limit = newline != nullptr ? newline : p + n;
    if (token->text.size() < kKept) {
      token->text.append(p, std::min<std::size_t>(static_cast<std::size_t>(limit - p), kKept - token->text.size()));
    }
    pos_ += static_cast<std::size_t>(limit - p);
    if (newline != nullptr) break;
  }
  if (!token->text.empty() && token->text.back() == '\r') token->text.pop_back();
}

void Lexer::read_word(Token* token) {
  // Words are commands, flags, numbers and names: none is anywhere near this long.
  constexpr std::size_t kLongestWord = 1 << 20;
  token->kind = TokenKind::Word;
  for (;;) {
    if (!fill()) return;
    const char* p = buffer_.get() + pos_;
    const char* e = buffer_.get() + end_;
    const char* stop = p;
    while (stop < e && word_byte_[static_cast<unsigned char>(*stop)]) ++stop;
    if (stop != p) {
      if (token->text.size() + static_cast<std::size_t>(stop - p) > kLongestWord) fail_here("a word longer than 1 MiB");
      token->text.append(p, stop);
      pos_ += static_cast<std::size_t>(stop - p);
      if (stop == e) continue;
    }
    const int d = static_cast<unsigned char>(*stop);
    if (ends_word(d)) return;
    if (is_control(d)) fail_here("unexpected " + byte_name(d));
    token->text.push_back(take());
    if (is_lead_byte(encoding_, static_cast<unsigned char>(d))) {
      std::uint64_t ignored = 0;
      take_trail_byte(&token->text, &ignored);
    } else if (d == '/' && token->text.size() == 2 && token->text[0] == '/') {
      return read_comment(token);
    }
  }
}

void Lexer::next(Token* token) {
  skip_space();
  token->text.clear();
  token->length = 0;
  token->line = line_;
  token->offset = offset();
  token->column = column_at(token->offset);
  const int c = peek();
  if (c < 0) {
    token->kind = TokenKind::End;
    return;
  }
  switch (c) {
    case ';': take(); token->kind = TokenKind::Semicolon; return;
    case '{': take(); token->kind = TokenKind::LBrace; return;
    case '}': take(); token->kind = TokenKind::RBrace; return;
    case ',': take(); token->kind = TokenKind::Comma; return;
    case '"':
      take();
      token->kind = TokenKind::String;
      read_string(&token->text, &token->length, token->line, token->column);
      return;
    case '(':
      take();
      token->kind = TokenKind::String;
      read_concatenation(token);
      return;
    case ')': fail_here("unexpected ')'");
    default: break;
  }
  if (is_control(c)) fail_here("unexpected " + byte_name(c));
  read_word(token);
}

Token Lexer::next() {
  Token token;
  next(&token);
  return token;
}

void Lexer::skip_statement(const Token& start) {
  for (;;) {
    if (!fill()) {
      fail(start.line, start.column,
           "unexpected end of file: the statement '" + start.text + "' has no closing ';'");
    }
    const char* p = buffer_.get() + pos_;
    const std::size_t n = end_ - pos_;
    const char* semi = static_cast<const char*>(std::memchr(p, ';', n));
    const char* limit = semi != nullptr ? semi : p + n;
    const char* quote = static_cast<const char*>(std::memchr(p, '"', static_cast<std::size_t>(limit - p)));
    if (quote != nullptr) {
      advance_over(p, quote + 1);
      skip_string(line_, column_at(offset() - 1));
      continue;
    }
    if (semi != nullptr) {
      advance_over(p, semi + 1);
      return;
    }
    advance_over(p, limit);
  }
}

}  // namespace mayascene
