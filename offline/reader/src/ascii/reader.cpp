#include "mayascene/reader.h"

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string>
#include <string_view>

#include "../default_nodes.h"
#include "mayascene/binary.h"
#include "mayascene/names.h"
#include "statement_reader.h"

namespace mayascene {
namespace detail {

namespace {

bool is_identifier(const std::string& s) {
  if (s.empty()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    if (!alpha && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

void Reader::run() {
  read_header();
  Token& t = command_;
  for (;;) {
    next(&t);
    if (t.kind == TokenKind::End) break;
    if (t.kind == TokenKind::Comment) {
      if (starts_with(trim(t.text), "End of")) ended_ = true;
      continue;
    }
    ended_ = false;
    if (t.kind == TokenKind::Semicolon) continue;  // an empty statement
    if (t.kind != TokenKind::Word || !is_identifier(t.text)) {
      lex_.fail(t.line, t.column, "expected a command name, found " + describe(t));
    }
    statement(t);
  }
  if (!ended_) {
    lex_.fail_here("unexpected end of file: no closing '// End of' line (the file is truncated)");
  }
  finish();
}

std::string Reader::describe(const Token& t) {
  switch (t.kind) {
    case TokenKind::Word: return "'" + t.text.substr(0, 40) + "'";
    case TokenKind::String: return "a string";
    case TokenKind::Semicolon: return "';'";
    case TokenKind::LBrace: return "'{'";
    case TokenKind::RBrace: return "'}'";
    case TokenKind::Comma: return "','";
    case TokenKind::Comment: return "a comment";
    case TokenKind::End: return "the end of the file";
  }
  return "?";
}

void Reader::read_header() {
  // A Maya Binary file is an IFF file: its first group chunk is FOR4 (32-bit) or FOR8 (64-bit).
  const std::string_view magic = lex_.peek_bytes(4);
  if (magic == "FOR4" || magic == "FOR8") lex_.fail(1, 1, "not a Maya ASCII file (Maya Binary)");
  Token& first = token_;
  lex_.next(&first);
  if (first.kind != TokenKind::Comment || !starts_with(first.text, "Maya ASCII")) {
    lex_.fail(first.line, first.column, "not a Maya ASCII file: no '//Maya ASCII' header line");
  }
  std::string_view rest = trim(std::string_view(first.text).substr(10));
  scene_.maya_version = std::string(rest.substr(0, rest.find(' ')));
  // The other header comments come before the first statement; Codeset is the one that matters.
  for (;;) {
    Token& t = token_;
    lex_.next(&t);
    if (t.kind != TokenKind::Comment || starts_with(trim(t.text), "End of")) {
      std::swap(pending_, t);
      has_pending_ = true;
      return;
    }
    const std::string_view text = trim(t.text);
    if (starts_with(text, "Codeset:")) {
      scene_.codeset = std::string(trim(text.substr(8)));
      lex_.set_encoding(double_byte_encoding(scene_.codeset));
    }
  }
}

bool Reader::rest_of(const Token& command, std::initializer_list<std::string_view> no_argument) {
  tokens_.clear();
  std::uint64_t too_long = 0;
  for (;;) {
    Token& t = tokens_.push();
    next(&t);
    if (t.kind == TokenKind::Semicolon) break;
    if (t.kind == TokenKind::End) truncated(command);
    if (t.kind == TokenKind::Comment) {
      tokens_.pop();
      continue;
    }
    if (t.over_cap()) too_long = std::max(too_long, t.length);
  }
  tokens_.pop();  // the ';'
  if (too_long != 0) {
    const std::string where = command.text + " statement at line " + std::to_string(command.line);
    scene_.long_values.push_back(LongValue{where, too_long, false});
    return false;
  }
  parse_args(tokens_, no_argument, &args_);
  return true;
}

void Reader::statement(const Token& command) {
  const std::string_view c = command.text;
  if (c == "setAttr") return set_attr(command);
  if (c == "createNode") {
    if (rest_of(command, {"s", "shared", "ss", "skipSelect"})) {
      create_node(command);
    } else {
      current_ = -1;
    }
  } else if (c == "connectAttr") {
    if (rest_of(command, {"na", "nextAvailable", "f", "force"})) connect_attr(command);
  } else if (c == "disconnectAttr") {
    if (rest_of(command, {"na", "nextAvailable"})) disconnect_attr();
  } else if (c == "addAttr") {
    // its other switches (-s, -r, -w, -im, -is, -h, -k, -ci) take on/off, as Maya writes them: -s false
    if (rest_of(command, {"m", "multi", "uac", "usedAsColor", "uaf", "usedAsFilename", "uap", "usedAsProxy"})) {
      add_attr();
    }
  } else if (c == "rename") {
    if (rest_of(command, {"is", "ignoreShape"})) rename(command);
  } else if (c == "select") {
    if (rest_of(command, {"ne", "noExpand", "r", "replace", "add", "af", "addFirst", "d", "deselect", "tgl",
                          "toggle", "cl", "clear", "hi", "hierarchy", "all", "adn", "allDependencyNodes", "ado",
                          "allDagObjects"})) {
      select();
    } else {
      current_ = -1;
    }
  } else if (c == "lockNode") {
    if (rest_of(command, {"ic", "ignoreComponents"})) lock_node();
  } else if (c == "relationship") {
    if (rest_of(command)) relationship();
  } else if (c == "requires") {
    if (rest_of(command)) requires_(command);
  } else if (c == "fileInfo") {
    if (rest_of(command)) file_info();
  } else if (c == "currentUnit") {
    if (rest_of(command)) current_unit();
  } else if (c == "file") {
    if (rest_of(command, {"r", "reference", "iv", "ignoreVersion", "f", "force", "gl", "groupLocator", "i", "import",
                          "dns", "defaultNamespace"})) {
      file();
    }
  } else {
    lex_.skip_statement(command);  // parent, dataStructure, applyMetadata, ... carry nothing needed
  }
}

void Reader::finish() {
  if (!disconnected_.empty()) {
    std::deque<Connection> kept;
    std::string pair;
    for (std::size_t i = 0; i < scene_.connections.size(); ++i) {
      Connection& c = scene_.connections[i];
      pair = c.source();
      pair += '\0';
      pair += c.destination();
      const auto undone = disconnected_.find(pair);
      if (undone == disconnected_.end() || i >= undone->second) kept.push_back(std::move(c));
    }
    scene_.connections.swap(kept);
  }
  finish_scene(scene_, names_);
}

}  // namespace detail

Scene read_source(Source& source, const std::string& name, std::size_t chunk_size, const ReadOptions& options) {
  Scene scene;
  scene.file = name;
  scene.format = "mayaAscii";
  Lexer lexer(source, name, chunk_size, options.max_value_bytes);
  detail::Reader(lexer, scene, options).run();
  return scene;
}

Scene read_text(std::string_view text, const std::string& name, const ReadOptions& options) {
  MemorySource source(text);
  return read_source(source, name, 1 << 20, options);
}

std::optional<std::uint64_t> max_value_bytes_setting(const char* text) {
  if (text == nullptr || text[0] == '\0') return kDefaultMaxValueBytes;
  std::uint64_t value = 0;
  for (const char* p = text; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9' || value > (UINT64_MAX - 9) / 10) return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  return value == 0 ? UINT64_MAX : value;
}

std::string read_span(const Scene& scene, const Value& span) {
  if (scene.format == "mayaBinary") {
    FileByteSource file(scene.file);
    return read_binary_span(file, scene.file, span, scene.codeset == "UTF-8");
  }
  FileSource tail(scene.file);
  if (!tail.seek(span.i)) throw std::runtime_error(scene.file + ": cannot read at byte " + std::to_string(span.i));
  Lexer lexer(tail, scene.file, 1 << 20);
  lexer.set_encoding(double_byte_encoding(scene.codeset));
  Token token;
  lexer.next(&token);
  if (token.kind != TokenKind::String || token.length != span.length) {
    throw std::runtime_error(scene.file + ": the text of " + std::to_string(span.length) + " bytes read at byte " +
                             std::to_string(span.i) + " is no longer there (the file changed since it was read)");
  }
  return std::move(token.text);
}

}  // namespace mayascene
