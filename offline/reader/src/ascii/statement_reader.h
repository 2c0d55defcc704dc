// The statement reader behind read_source, shared by its source files: reader.cpp drives it
// (header comments, statement dispatch, the final fix-ups), and one file per kind of statement
// holds its handlers: node_statements.cpp, set_attr.cpp, attribute_statements.cpp,
// header_statements.cpp, reference_edits.cpp. statement_args.cpp splits a statement into flags
// and values. Tokens, their texts and the argument lists keep their storage from one statement to
// the next, so that reading a statement allocates nothing once the reader has warmed up.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "mayascene/lexer.h"
#include "mayascene/reader.h"
#include "mayascene/scene.h"

namespace mayascene {
namespace detail {

inline bool is_flag(const Token& t) {
  return t.kind == TokenKind::Word && t.text.size() >= 2 && t.text[0] == '-' &&
         ((t.text[1] >= 'a' && t.text[1] <= 'z') || (t.text[1] >= 'A' && t.text[1] <= 'Z'));
}

inline bool one_of(std::string_view s, std::initializer_list<std::string_view> names) {
  for (const std::string_view n : names) {
    if (s == n) return true;
  }
  return false;
}

inline bool starts_with(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

inline std::string strip_root(std::string_view name) {
  if (!name.empty() && name[0] == ':') name.remove_prefix(1);
  return std::string(name);
}

// A word value as MEL reads it: boolean keywords, integers, reals; anything else stays text.
Value word_value(std::string_view w);

// The tokens of one statement.
class Tokens {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  const Token& operator[](std::size_t i) const { return items_[i]; }
  const Token* begin() const { return items_.data(); }
  const Token* end() const { return items_.data() + size_; }
  Token& back() { return items_[size_ - 1]; }
  Token& front() { return items_[0]; }
  // A slot for one more token (its text keeps the storage of the token it held before).
  Token& push() {
    if (size_ == items_.size()) items_.emplace_back();
    return items_[size_++];
  }
  void pop() { --size_; }
  void clear() { size_ = 0; }

 private:
  std::vector<Token> items_;
  std::size_t size_ = 0;
};

// Flags and positional arguments of one statement. A flag takes the next token as its argument
// unless that token is a flag itself or the flag is one of the statement's argument-less flags.
struct Args {
  std::vector<std::pair<std::string_view, const Token*>> flags;  // name without '-'; argument or null
  std::vector<const Token*> positionals;

  // The argument of the first of the flags given (an empty token for an argument-less flag).
  const Token* flag(std::initializer_list<std::string_view> names) const {
    for (const auto& f : flags) {
      if (one_of(f.first, names)) return f.second != nullptr ? f.second : &none;
    }
    return nullptr;
  }
  bool has(std::initializer_list<std::string_view> names) const { return flag(names) != nullptr; }

  static const Token none;
};

void parse_args(const Tokens& tokens, std::initializer_list<std::string_view> no_argument, Args* args);

class Reader {
 public:
  Reader(Lexer& lexer, Scene& scene, const ReadOptions& options) : lex_(lexer), scene_(scene), options_(options) {}

  void run();
  // One setAttr statement's arguments (after the command word) applied to the node `target`.
  void set_attr_on(int target);

 private:
  // ---- driver (reader.cpp) ------------------------------------------------------------------
  static std::string describe(const Token& t);
  void read_header();
  void statement(const Token& command);
  void finish();

  void next(Token* out) {
    if (has_pending_) {
      has_pending_ = false;
      std::swap(*out, pending_);
      return;
    }
    lex_.next(out);
  }

  // The remaining tokens of a statement, up to its ';', into tokens_ (args_ parsed with the
  // statement's argument-less flags). False when a text in it is longer than the cap on stored
  // values: the statement is then passed over and listed in the scene's long values.
  bool rest_of(const Token& command, std::initializer_list<std::string_view> no_argument = {});

  [[noreturn]] void truncated(const Token& command) {
    lex_.fail(command.line, command.column,
              "unexpected end of file: the statement '" + command.text + "' has no closing ';'");
  }

  // ---- nodes (node_statements.cpp) ------------------------------------------------------------
  int find_node(std::string_view written) const;
  int add_node(std::string_view name, std::string_view type);
  int default_node(const std::string& written);  // a default node addressed before (or without) its createNode
  void place_in_dag(int index);
  void create_node(const Token& command);
  void rename(const Token& command);
  void select();
  void lock_node();

  // ---- setAttr values (set_attr.cpp) ----------------------------------------------------------
  void set_attr(const Token& command);
  void store(int target, const std::string& attr, const std::string& type, Tokens& values);
  // reference_edits.cpp: the rest of a `setAttr ".ed" -type "dataReferenceEdits"` statement.
  void reference_edits(const Token& command, int holder, Token* first);

  // ---- dynamic attributes, connections, relationships (attribute_statements.cpp) --------------
  void add_attr();
  void connect_attr(const Token& command);
  void disconnect_attr();
  void relationship();

  // ---- scene-wide statements (header_statements.cpp) ------------------------------------------
  void requires_(const Token& command);
  void file_info();
  void current_unit();
  void file();

  Lexer& lex_;
  Scene& scene_;
  ReadOptions options_;
  int current_ = -1;
  bool ended_ = false;
  Token pending_;
  bool has_pending_ = false;
  NameIndex names_;
  std::unordered_map<std::string, int> next_available_;
  std::unordered_map<std::string, std::size_t> disconnected_;  // "source\0destination" -> connections before it
  // Reused from statement to statement.
  Token command_;
  Token token_;
  Tokens tokens_;
  Tokens values_;
  Args args_;
  std::string path_;
  std::string type_;
};

}  // namespace detail
}  // namespace mayascene
