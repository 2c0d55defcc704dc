#include "mayascene/reader.h"

#include <string>
#include <string_view>

#include "../default_nodes.h"
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
  for (;;) {
    Token t = next();
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
  Token first = lex_.next();
  if (first.kind != TokenKind::Comment || !starts_with(first.text, "Maya ASCII")) {
    lex_.fail(first.line, first.column, "not a Maya ASCII file: no '//Maya ASCII' header line");
  }
  std::string_view rest = trim(std::string_view(first.text).substr(10));
  scene_.maya_version = std::string(rest.substr(0, rest.find(' ')));
  // The other header comments come before the first statement; Codeset is the one that matters.
  for (;;) {
    Token t = lex_.next();
    if (t.kind != TokenKind::Comment || starts_with(trim(t.text), "End of")) {
      pending_ = t;
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

void Reader::statement(const Token& command) {
  const std::string& c = command.text;
  if (c == "setAttr") return set_attr(command);
  if (c == "createNode") return create_node(command, rest_of(command));
  if (c == "connectAttr") return connect_attr(command, rest_of(command));
  if (c == "disconnectAttr") return disconnect_attr(rest_of(command));
  if (c == "addAttr") return add_attr(rest_of(command));
  if (c == "rename") return rename(command, rest_of(command));
  if (c == "select") return select(rest_of(command));
  if (c == "lockNode") return lock_node(rest_of(command));
  if (c == "relationship") return relationship(rest_of(command));
  if (c == "requires") return requires_(command, rest_of(command));
  if (c == "fileInfo") return file_info(rest_of(command));
  if (c == "currentUnit") return current_unit(rest_of(command));
  if (c == "file") return file(rest_of(command));
  lex_.skip_statement(command);  // parent, dataStructure, applyMetadata, ... carry nothing needed
}

void Reader::finish() { finish_scene(scene_, names_); }

}  // namespace detail

Scene read_source(Source& source, const std::string& name, std::size_t chunk_size) {
  Scene scene;
  scene.file = name;
  scene.format = "mayaAscii";
  Lexer lexer(source, name, chunk_size);
  detail::Reader(lexer, scene).run();
  return scene;
}

Scene read_text(std::string_view text, const std::string& name) {
  MemorySource source(text);
  return read_source(source, name);
}

}  // namespace mayascene
