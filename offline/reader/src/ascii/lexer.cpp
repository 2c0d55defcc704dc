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

std::size_t FileSource::read(char* buffer, std::size_t n) {
  const std::size_t count = std::fread(buffer, 1, n, file_);
  if (count == 0 && std::ferror(file_)) throw std::runtime_error(path_ + ": read error");
  return count;
}

Lexer::Lexer(Source& source, std::string file_name, std::size_t chunk_size)
    : source_(source), file_name_(std::move(file_name)), buffer_(std::max<std::size_t>(chunk_size, 16)) {
  set_encoding(DoubleByteEncoding::None);
}

void Lexer::set_encoding(DoubleByteEncoding encoding) {
  encoding_ = encoding;
  for (int c = 0; c < 256; ++c) {
    string_stop_[c] = c == '"' || c == '\\' || c == '\n' || is_lead_byte(encoding, static_cast<unsigned char>(c));
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
  end_ = source_.read(buffer_.data(), buffer_.size());
  if (end_ == 0) eof_ = true;
  return end_ != 0;
}

int Lexer::peek() { return fill() ? static_cast<unsigned char>(buffer_[pos_]) : -1; }

std::string_view Lexer::peek_bytes(std::size_t n) {
  if (!fill()) return {};
  return std::string_view(buffer_.data() + pos_, std::min(n, end_ - pos_));
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
  if (last != nullptr) line_start_ = base_ + (last + 1 - buffer_.data());
}

void Lexer::skip_space() {
  for (;;) {
    const int c = peek();
    if (c < 0 || !is_space(c)) return;
    take();
  }
}

void Lexer::read_string(std::string* out, std::int64_t line, std::int64_t column) {
  for (;;) {
    if (!fill()) fail(line, column, "unterminated string");
    const char* p = buffer_.data() + pos_;
    const char* e = buffer_.data() + end_;
    const char* stop = p;
    while (stop < e && !string_stop_[static_cast<unsigned char>(*stop)]) ++stop;
    out->append(p, stop);
    advance_over(p, stop);
    if (stop == e) continue;
    const char c = take();
    if (c == '"') return;
    if (c == '\n') {
      out->push_back('\n');
      continue;
    }
    if (c != '\\') {  // a lead byte
      out->push_back(c);
      take_trail_byte(out);
      continue;
    }
    if (!fill()) fail(line, column, "unterminated string");
    const char escaped = take();
    switch (escaped) {
      case 'n': out->push_back('\n'); break;
      case 't': out->push_back('\t'); break;
      case '"': out->push_back('"'); break;
      case '\\': out->push_back('\\'); break;
      default:  // MEL keeps unknown escapes as written
        out->push_back('\\');
        out->push_back(escaped);
    }
  }
}

void Lexer::take_trail_byte(std::string* out) {
  if (fill() && is_trail_byte(peek())) out->push_back(take());
}

void Lexer::skip_string(std::int64_t line, std::int64_t column) {
  if (encoding_ != DoubleByteEncoding::None) {
    // A 0x5C may be a second byte, which only a pass from the opening quote can tell.
    std::string passed;
    read_string(&passed, line, column);
    return;
  }
  for (;;) {
    if (!fill()) fail(line, column, "unterminated string");
    const char* p = buffer_.data() + pos_;
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
      read_string(&token->text, line, column);
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

Token Lexer::next() {
  skip_space();
  Token token;
  token.line = line_;
  token.column = column_at(offset());
  const int c = peek();
  if (c < 0) return token;  // End
  switch (c) {
    case ';': take(); token.kind = TokenKind::Semicolon; return token;
    case '{': take(); token.kind = TokenKind::LBrace; return token;
    case '}': take(); token.kind = TokenKind::RBrace; return token;
    case ',': take(); token.kind = TokenKind::Comma; return token;
    case '"':
      take();
      token.kind = TokenKind::String;
      read_string(&token.text, token.line, token.column);
      return token;
    case '(':
      take();
      token.kind = TokenKind::String;
      read_concatenation(&token);
      return token;
    case ')': fail_here("unexpected ')'");
    default: break;
  }
  if (is_control(c)) fail_here("unexpected " + byte_name(c));
  token.kind = TokenKind::Word;
  for (;;) {
    const int d = peek();
    if (d < 0 || ends_word(d)) break;
    if (is_control(d)) fail_here("unexpected " + byte_name(d));
    token.text.push_back(take());
    if (is_lead_byte(encoding_, static_cast<unsigned char>(d))) {
      take_trail_byte(&token.text);
      continue;
    }
    if (token.text.size() == 2 && token.text[0] == '/' && token.text[1] == '/') {
      // A comment: only whole lines outside strings are comments in Maya ASCII.
      token.kind = TokenKind::Comment;
      token.text.clear();
      for (;;) {
        const int e = peek();
        if (e < 0 || e == '\n') break;
        token.text.push_back(take());
      }
      if (!token.text.empty() && token.text.back() == '\r') token.text.pop_back();
      return token;
    }
  }
  return token;
}

void Lexer::skip_statement(const Token& start) {
  for (;;) {
    if (!fill()) {
      fail(start.line, start.column,
           "unexpected end of file: the statement '" + start.text + "' has no closing ';'");
    }
    const char* p = buffer_.data() + pos_;
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
