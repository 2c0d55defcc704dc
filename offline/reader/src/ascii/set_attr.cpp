// setAttr: the attribute path, its flags and type, and the values kept of it (short scalar and
// tuple values, strings, short ranges); bulk data is skipped unread.
#include "statement_reader.h"

#include <string>

#include "mayascene/names.h"
#include "mayascene/reader.h"

namespace mayascene {
namespace detail {

namespace {

// "name[a:b]" at the end of an attribute path; false for any other use of ':'.
bool parse_range(const std::string& attr, long long* first, long long* last) {
  const std::size_t open = attr.rfind('[');
  if (open == std::string::npos || attr.back() != ']') return false;
  const std::string inside = attr.substr(open + 1, attr.size() - open - 2);
  const std::size_t colon = inside.find(':');
  if (colon == std::string::npos || inside.find(':', colon + 1) != std::string::npos) return false;
  const Value a = word_value(inside.substr(0, colon));
  const Value b = word_value(inside.substr(colon + 1));
  if (a.kind != Value::Kind::Int || b.kind != Value::Kind::Int || a.i < 0 || b.i < a.i) return false;
  *first = a.i;
  *last = b.i;
  return true;
}

}  // namespace

// Values are read token by token only while they are worth keeping; anything longer or of a
// bulk data type is passed over by the lexer's scan for the closing ';'.
void Reader::set_attr(const Token& command) {
  std::string& path = path_;
  std::string& type = type_;
  path.clear();
  type.clear();
  bool have_path = false;
  Token& t = token_;
  for (;;) {
    next(&t);
    if (t.kind == TokenKind::End) truncated(command);
    if (t.kind == TokenKind::Semicolon) break;
    if (t.kind == TokenKind::Comment) continue;
    if (is_flag(t)) {
      const std::string_view flag = std::string_view(t.text).substr(1);
      if (one_of(flag, {"type", "typ"})) {
        next(&t);
        if (t.kind != TokenKind::String && t.kind != TokenKind::Word) {
          lex_.fail(t.line, t.column, "setAttr -type needs a type name, found " + describe(t));
        }
        type = t.text;
      } else if (one_of(flag, {"s", "size", "k", "keyable", "l", "lock", "cb", "channelBox", "ch",
                               "capacityHint", "ca", "caching"})) {
        const std::string name(flag);
        next(&t);
        if (t.kind != TokenKind::Word) lex_.fail(t.line, t.column, "setAttr -" + name + " needs a value, found " + describe(t));
      }
      continue;
    }
    if (t.kind == TokenKind::String && !have_path) {
      if (t.over_cap()) lex_.fail(t.line, t.column, "setAttr with an attribute path longer than the cap on a value");
      path = t.text;
      have_path = true;
      continue;
    }
    break;
  }
  if (!have_path) lex_.fail(command.line, command.column, "setAttr without an attribute path");
  if (t.kind == TokenKind::Semicolon) return;  // size-only or flag-only

  int target = current_;
  std::string attr = path;
  if (path.empty() || path[0] != '.') {
    const std::size_t dot = path.find('.', path.rfind('|') == std::string::npos ? 0 : path.rfind('|'));
    if (dot == std::string::npos) lex_.fail(command.line, command.column, "setAttr path without an attribute: '" + path + "'");
    target = default_node(path.substr(0, dot));
    attr = path.substr(dot);
  }
  attr.erase(0, 1);
  if (type == "dataReferenceEdits" && target >= 0) return reference_edits(command, target, &t);
  // A range "a[1:3]" is kept only for a short list of plain scalars (renderLayerId and the like);
  // mesh and curve data arrive as ranges too and are skipped.
  long long first = 0;
  long long last = -1;
  const bool ranged = attr.find(':') != std::string::npos;
  if (ranged && !parse_range(attr, &first, &last)) return lex_.skip_statement(command);
  const bool wanted = target >= 0 && !attr.empty() &&
                      (ranged ? type.empty() && last - first < static_cast<long long>(kMaxStoredValues)
                              : type.empty() || one_of(type, {"string", "stringArray", "double2", "double3", "float2",
                                                              "float3", "long2", "long3", "short2", "short3", "matrix"}));
  if (!wanted) return lex_.skip_statement(command);

  Tokens& values = values_;
  values.clear();
  for (;;) {
    if (t.kind == TokenKind::Semicolon) break;
    if (t.kind == TokenKind::End) truncated(command);
    if (t.kind != TokenKind::Comment) {
      if ((t.kind != TokenKind::Word && t.kind != TokenKind::String) || values.size() == kMaxStoredValues) {
        return lex_.skip_statement(command);
      }
      std::swap(values.push(), t);
    }
    next(&t);
  }
  for (const Token& v : values) {
    if (!v.over_cap()) continue;
    // A text over the cap: a string attribute's value stays in the file, read again when asked.
    Node& node = scene_.nodes[static_cast<std::size_t>(target)];
    const bool kept = type == "string" && values.size() == 1 && !ranged;
    const std::string key = canonical_path(node.type, attr, node.dynamic);
    scene_.long_values.push_back(LongValue{node.name.str() + "." + key, v.length, kept});
    if (kept) node.attrs.set(key, Value::span(v.offset, v.length));
    return;
  }
  if (!ranged) return store(target, attr, type, values);
  if (values.size() != static_cast<std::size_t>(last - first + 1)) return;  // compound elements
  const std::string base = attr.substr(0, attr.rfind('['));
  Tokens& one = tokens_;
  for (long long i = first; i <= last; ++i) {
    one.clear();
    one.push() = values[static_cast<std::size_t>(i - first)];
    store(target, base + "[" + std::to_string(i) + "]", type, one);
  }
}

void Reader::set_attr_on(int target) {
  current_ = target;
  Token command;
  command.kind = TokenKind::Word;
  command.text = "setAttr";
  command.line = 1;
  command.column = 1;
  set_attr(command);
  Token& after = token_;
  next(&after);
  if (after.kind != TokenKind::End) lex_.fail(after.line, after.column, "more than one statement in a setAttr tail");
}

void Reader::store(int target, const std::string& attr, const std::string& type, Tokens& values) {
  Node& node = scene_.nodes[static_cast<std::size_t>(target)];
  Value value;
  if (type == "string") {
    if (values[0].kind != TokenKind::String) {
      lex_.fail(values[0].line, values[0].column, "setAttr -type \"string\" needs a string value");
    }
    value = Value::string(std::move(values.front().text));  // a long text is not copied
  } else if (type == "stringArray") {
    value.kind = Value::Kind::StringArray;
    for (std::size_t i = 1; i < values.size(); ++i) value.items.push_back(Value::string(values[i].text));
  } else {
    const bool real = !type.empty() && (type[0] == 'd' || type[0] == 'f' || type == "matrix");
    for (const Token& v : values) {
      Value item = v.kind == TokenKind::String ? Value::string(v.text) : word_value(v.text);
      if (real && item.kind == Value::Kind::Int) item = Value::real(static_cast<double>(item.i));
      value.items.push_back(std::move(item));
    }
    if (value.items.size() == 1) {
      Value single = std::move(value.items[0]);
      value = std::move(single);
      // A whole number written for a real or boolean attribute reads back as Maya stores it.
      if (const AttributeInfo* info = find_attribute(node.type, attr.substr(0, attr.find('[')))) {
        if (value.kind == Value::Kind::Int && info->kind == AttributeInfo::Default::Double) {
          value = Value::real(static_cast<double>(value.i));
        } else if (value.kind == Value::Kind::Int && info->kind == AttributeInfo::Default::Bool) {
          value = Value::boolean(value.i != 0);
        }
      }
    } else {
      value.kind = Value::Kind::Tuple;
    }
  }
  node.attrs.set(canonical_path(node.type, attr, node.dynamic), value);
}

}  // namespace detail

std::vector<std::pair<std::string, Value>> set_attr_values(const Node& node, std::string_view attr,
                                                           std::string_view tail, const std::string& source) {
  Scene scratch;
  Node edited;
  edited.name = node.name;
  edited.type = node.type;
  edited.dynamic = node.dynamic;
  scratch.nodes.push_back(std::move(edited));
  std::string text = "\".";
  text += attr;
  text += "\" ";
  text += tail;
  text += "\n;";
  MemorySource input(text);
  ReadOptions whole;  // the tail is in memory already: no text of it is left in a file
  whole.max_value_bytes = UINT64_MAX;
  Lexer lexer(input, source, 1 << 20, whole.max_value_bytes);
  detail::Reader(lexer, scratch, whole).set_attr_on(0);
  std::vector<std::pair<std::string, Value>> out;
  scratch.nodes[0].attrs.normalize();
  for (const auto& entry : scratch.nodes[0].attrs) out.emplace_back(std::string(entry.first), entry.second);
  return out;
}

}  // namespace mayascene
