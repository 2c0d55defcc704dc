// The statement reader behind read_source, shared by its source files: reader.cpp drives it
// (header comments, statement dispatch, the final fix-ups), and one file per kind of statement
// holds its handlers: node_statements.cpp, set_attr.cpp, reference_edits.cpp,
// attribute_statements.cpp, header_statements.cpp. statement_args.cpp splits a statement into flags and values.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "mayascene/lexer.h"
#include "mayascene/scene.h"

namespace mayascene {
namespace detail {

inline bool is_flag(const Token& t) {
  return t.kind == TokenKind::Word && t.text.size() >= 2 && t.text[0] == '-' &&
         ((t.text[1] >= 'a' && t.text[1] <= 'z') || (t.text[1] >= 'A' && t.text[1] <= 'Z'));
}

inline bool one_of(const std::string& s, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    if (s == n) return true;
  }
  return false;
}

inline bool starts_with(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

inline std::string strip_root(std::string name) {
  if (!name.empty() && name[0] == ':') name.erase(0, 1);
  return name;
}

// A word value as MEL reads it: boolean keywords, integers, reals; anything else stays text.
Value word_value(const std::string& w);

// Flags and positional arguments of one statement. A flag takes the next token as its argument
// unless that token is a flag itself or the flag is one of the statement's argument-less flags.
struct Args {
  std::vector<std::pair<std::string, Token>> flags;
  std::vector<Token> positionals;

  const Token* flag(std::initializer_list<const char*> names) const {
    for (const auto& f : flags) {
      if (one_of(f.first, names)) return &f.second;
    }
    return nullptr;
  }
  bool has(std::initializer_list<const char*> names) const { return flag(names) != nullptr; }
};

Args parse_args(const std::vector<Token>& tokens, std::initializer_list<const char*> no_argument);

class Reader {
 public:
  Reader(Lexer& lexer, Scene& scene) : lex_(lexer), scene_(scene) {}

  void run();
  // One setAttr statement's arguments (after the command word) applied to the node `target`.
  void set_attr_on(int target);

 private:
  // ---- driver (reader.cpp) ------------------------------------------------------------------
  static std::string describe(const Token& t);
  void read_header();
  void statement(const Token& command);
  void finish();

  Token next() {
    if (has_pending_) {
      has_pending_ = false;
      return pending_;
    }
    return lex_.next();
  }

  // The remaining tokens of a statement, up to its ';'.
  std::vector<Token> rest_of(const Token& command) {
    std::vector<Token> tokens;
    for (;;) {
      Token t = next();
      if (t.kind == TokenKind::Semicolon) return tokens;
      if (t.kind == TokenKind::End) truncated(command);
      if (t.kind == TokenKind::Comment) continue;
      tokens.push_back(std::move(t));
    }
  }

  [[noreturn]] void truncated(const Token& command) {
    lex_.fail(command.line, command.column,
              "unexpected end of file: the statement '" + command.text + "' has no closing ';'");
  }

  // ---- nodes (node_statements.cpp) ------------------------------------------------------------
  int find_node(const std::string& written) const;
  int add_node(std::string name, std::string type);
  int default_node(const std::string& written);  // a default node addressed before (or without) its createNode
  void place_in_dag(int index);
  void create_node(const Token& command, const std::vector<Token>& tokens);
  void rename(const Token& command, const std::vector<Token>& tokens);
  void select(const std::vector<Token>& tokens);
  void lock_node(const std::vector<Token>& tokens);

  // ---- setAttr values (set_attr.cpp) ----------------------------------------------------------
  void set_attr(const Token& command);
  void store(int target, const std::string& attr, const std::string& type, const std::vector<Token>& values);
  // ---- reference edits (reference_edits.cpp) --------------------------------------------------
  void reference_edits(const Token& command, int target, Token first);

  // ---- dynamic attributes, connections, relationships (attribute_statements.cpp) --------------
  void add_attr(const std::vector<Token>& tokens);
  void connect_attr(const Token& command, const std::vector<Token>& tokens);
  void disconnect_attr(const std::vector<Token>& tokens);
  void relationship(const std::vector<Token>& tokens);

  // ---- scene-wide statements (header_statements.cpp) ------------------------------------------
  void requires_(const Token& command, const std::vector<Token>& tokens);
  void file_info(const std::vector<Token>& tokens);
  void current_unit(const std::vector<Token>& tokens);
  void file(const std::vector<Token>& tokens);

  Lexer& lex_;
  Scene& scene_;
  int current_ = -1;
  bool ended_ = false;
  Token pending_;
  bool has_pending_ = false;
  NameIndex names_;
  std::unordered_map<std::string, int> next_available_;
};

}  // namespace detail
}  // namespace mayascene
