// setAttr ".ed" -type "dataReferenceEdits": the edits a reference node stores. The value is the
// owner reference node, then groups of (reference node, count, count edits); an edit is its code
// and its fields: strings, but for the node of an addAttr edit (code 1), written unquoted, and the
// sub-code of a placeholder connection (code 5). An edit or group that does not parse is passed
// over and counted; the rest are read on.
#include "statement_reader.h"

#include <cstdlib>

#include "../reference_edit_layout.h"

namespace mayascene {
namespace detail {

namespace {

bool whole_number(const Token& t, long long* n) {
  if (t.kind != TokenKind::Word || t.text.empty()) return false;
  char* end = nullptr;
  *n = std::strtoll(t.text.c_str(), &end, 10);
  return *end == '\0';
}

bool text_field(const Token& t) { return t.kind == TokenKind::String && !t.over_cap(); }

class EditsParser {
 public:
  EditsParser(const Tokens& tokens, ReferenceEdits* out) : t_(tokens), out_(*out) {}

  void run() {
    std::size_t at = 0;
    if (at < t_.size() && text_field(t_[at])) out_.owner = t_[at++].text;
    while (at < t_.size()) {
      long long count = 0;
      if (!(text_field(t_[at]) && at + 1 < t_.size() && whole_number(t_[at + 1], &count) && count >= 0)) {
        ++out_.unread;  // not a group: on to the next that looks like one
        at = next_group(at + 1);
        continue;
      }
      out_.groups.push_back({t_[at].text, {}});
      at += 2;
      for (long long k = 0; k < count && at < t_.size(); ++k) {
        if (group_starts(at)) {  // the group ended before its count
          out_.unread += static_cast<std::size_t>(count - k);
          break;
        }
        if (!edit(&at)) {
          ++out_.unread;
          at = next_edit(at + 1);
        }
      }
    }
  }

 private:
  // A group opens with its reference node and a count, then an edit; after a count of 0 comes
  // the end or the next group's node and count.
  bool group_starts(std::size_t at) const {
    long long n = 0;
    if (!(text_field(t_[at]) && at + 1 < t_.size() && whole_number(t_[at + 1], &n) && n >= 0)) return false;
    if (at + 2 >= t_.size()) return true;
    if (n > 0) return parse(at + 2, nullptr) != 0;
    return text_field(t_[at + 2]) && at + 3 < t_.size() && whole_number(t_[at + 3], &n);
  }
  std::size_t next_group(std::size_t at) const {
    while (at < t_.size() && !group_starts(at)) ++at;
    return at;
  }
  // The next place where an edit, or a group, reads.
  std::size_t next_edit(std::size_t at) const {
    while (at < t_.size() && parse(at, nullptr) == 0 && !group_starts(at)) ++at;
    return at;
  }

  bool edit(std::size_t* at) {
    ReferenceEdit e;
    const std::size_t end = parse(*at, &e);
    if (end == 0) return false;
    out_.groups.back().edits.push_back(std::move(e));
    *at = end;
    return true;
  }

  // The edit at `at` (into `out` unless null): the position after it, or 0 when none reads there.
  std::size_t parse(std::size_t at, ReferenceEdit* out) const {
    long long code = 0;
    long long sub_code = 0;
    std::size_t i = at;
    if (!whole_number(t_[i], &code)) return 0;
    ++i;
    if (code == kPlaceholderConnectionEdit && (i >= t_.size() || !whole_number(t_[i++], &sub_code))) return 0;
    const int fields = reference_edit_field_count(code, sub_code);
    if (fields < 0 || i + static_cast<std::size_t>(fields) > t_.size()) return 0;
    for (int f = 0; f < fields; ++f) {
      const bool unquoted_node = code == 1 && f == 0 && t_[i + static_cast<std::size_t>(f)].kind == TokenKind::Word;
      if (!unquoted_node && !text_field(t_[i + static_cast<std::size_t>(f)])) return 0;
    }
    if (out != nullptr) {
      out->code = static_cast<int>(code);
      if (code == kPlaceholderConnectionEdit) out->fields.push_back(t_[i - 1].text);
      for (int f = 0; f < fields; ++f) out->fields.push_back(t_[i + static_cast<std::size_t>(f)].text);
    }
    return i + static_cast<std::size_t>(fields);
  }

  const Tokens& t_;
  ReferenceEdits& out_;
};

}  // namespace

void Reader::reference_edits(const Token& command, int holder, Token* t) {
  Tokens& tokens = values_;
  tokens.clear();
  for (; t->kind != TokenKind::Semicolon; next(t)) {
    if (t->kind == TokenKind::End) truncated(command);
    if (t->kind != TokenKind::Comment) std::swap(tokens.push(), *t);
  }
  ReferenceEdits edits;
  edits.holder = scene_.nodes[static_cast<std::size_t>(holder)].name;
  EditsParser(tokens, &edits).run();
  scene_.reference_edits.push_back(std::move(edits));
}

}  // namespace detail
}  // namespace mayascene
