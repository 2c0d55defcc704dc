// setAttr ".ed" -type "dataReferenceEdits": the edits a reference node stores. The value is the
// owner reference node, then groups: a reference node (the owner or one nested in it), a count,
// and that many edits, each a code (code 5 also a sub-code) and its fields, all strings but the
// node of an addAttr edit, which is written unquoted.
#include "statement_reader.h"

#include "../reference_edit_layout.h"

namespace mayascene {
namespace detail {

namespace {

bool integer_word(const Token& t, long long* out) {
  if (t.kind != TokenKind::Word) return false;
  const Value v = word_value(t.text);
  if (v.kind != Value::Kind::Int || v.i < 0) return false;
  *out = v.i;
  return true;
}

}  // namespace

// A value that breaks the layout keeps the edits read before it; the rest of the statement is
// passed over, so that one damaged record costs its own edits and never the file.
void Reader::reference_edits(const Token& command, int target, Token t) {
  bool at_end = t.kind == TokenKind::Semicolon;  // the statement's ';' has been read
  auto value = [this, &command, &at_end]() {
    for (;;) {
      Token v = next();
      if (v.kind == TokenKind::End) truncated(command);
      at_end = v.kind == TokenKind::Semicolon;
      if (v.kind != TokenKind::Comment) return v;
    }
  };
  ReferenceEdits out;
  out.holder = scene_.nodes[static_cast<std::size_t>(target)].name;
  bool intact = t.kind == TokenKind::String;
  if (intact) {
    out.owner = t.text;
    t = value();
  }
  while (intact && t.kind == TokenKind::String) {
    ReferenceEditGroup group;
    group.reference_node = t.text;
    long long count = 0;
    intact = integer_word(value(), &count);
    out.groups.push_back(std::move(group));
    for (long long e = 0; intact && e < count; ++e) {
      ReferenceEdit edit;
      long long code = 0;
      long long sub_code = 0;
      intact = integer_word(value(), &code);
      if (intact && code == kPlaceholderConnectionEdit) intact = integer_word(value(), &sub_code);
      const int fields = intact ? reference_edit_field_count(code, sub_code) : -1;
      intact = fields >= 0;
      edit.code = static_cast<int>(code);
      if (intact && code == kPlaceholderConnectionEdit) edit.fields.push_back(std::to_string(sub_code));
      for (int f = 0; intact && f < fields; ++f) {
        Token field = value();
        intact = field.kind == TokenKind::String || (field.kind == TokenKind::Word && !is_flag(field));
        if (intact) edit.fields.push_back(std::move(field.text));
      }
      if (intact) out.groups.back().edits.push_back(std::move(edit));
    }
    if (intact) t = value();
  }
  scene_.reference_edits.push_back(std::move(out));
  if (!at_end) lex_.skip_statement(command);
}

}  // namespace detail
}  // namespace mayascene
