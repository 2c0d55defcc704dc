// addAttr (dynamic attributes and their defaults), connectAttr, disconnectAttr, relationship.
#include "statement_reader.h"

#include <algorithm>
#include <cstdint>

namespace mayascene {
namespace detail {

void Reader::add_attr() {
  const Args& args = args_;
  const int target = args.positionals.empty() ? current_ : find_node(args.positionals.back()->text);
  if (target < 0) return;
  DynamicAttribute attr;
  if (const Token* sn = args.flag({"sn", "shortName"})) attr.short_name = sn->text;
  if (const Token* ln = args.flag({"ln", "longName"})) attr.long_name = ln->text;
  if (attr.short_name.empty()) attr.short_name = attr.long_name;
  if (attr.long_name.empty()) attr.long_name = attr.short_name;
  if (attr.long_name.empty()) return;
  const Token* at = args.flag({"at", "attributeType"});
  const Token* dt = args.flag({"dt", "dataType"});
  attr.type = at != nullptr ? at->text : dt != nullptr ? dt->text : std::string();
  if (const Token* dv = args.flag({"dv", "defaultValue"})) {
    const Value v = word_value(dv->text);
    const double given = v.kind == Value::Kind::Int    ? static_cast<double>(v.i)
                         : v.kind == Value::Kind::Double ? v.d
                         : v.kind == Value::Kind::Bool   ? (v.b ? 1 : 0)
                                                         : 0;
    set_default(&attr, &given);
  } else {
    set_default(&attr, nullptr);
  }
  scene_.nodes[static_cast<std::size_t>(target)].dynamic.push_back(std::move(attr));
}

void Reader::connect_attr(const Token& command) {
  const Args& args = args_;
  if (args.positionals.size() < 2) lex_.fail(command.line, command.column, "connectAttr needs two plugs");
  std::string destination = strip_root(args.positionals[1]->text);
  if (args.has({"na", "nextAvailable"}) && !destination.empty() && destination.back() != ']') {
    const int index = next_available_[destination]++;
    destination += "[" + std::to_string(index) + "]";
  }
  scene_.connections.emplace_back(scene_.texts, strip_root(args.positionals[0]->text), destination);
}

void Reader::disconnect_attr() {
  const Args& args = args_;
  if (args.positionals.size() < 2) return;
  // Applied when the file is read (finish): it undoes the connections of that pair made before it.
  std::string pair = strip_root(args.positionals[0]->text);
  pair += '\0';
  pair += strip_root(args.positionals[1]->text);
  disconnected_[std::move(pair)] = scene_.connections.size();
}

void Reader::relationship() {
  const Tokens& tokens = tokens_;
  if (tokens.empty()) return;
  Relationship r;
  r.kind = tokens[0].text;
  for (std::size_t i = 1; i < tokens.size(); ++i) r.members.push_back(strip_root(tokens[i].text));
  scene_.relationships.push_back(std::move(r));
}

}  // namespace detail
}  // namespace mayascene
