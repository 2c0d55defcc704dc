// createNode, rename, select and lockNode, and the node index behind them (nodes by name and
// by DAG path; the default nodes a scene has without creating them are in ../default_nodes.cpp).
#include "statement_reader.h"

#include "../default_nodes.h"
#include "mayascene/names.h"

namespace mayascene {
namespace detail {

int Reader::find_node(std::string_view written) const { return names_.find(scene_, written); }

int Reader::add_node(std::string_view name, std::string_view type) {
  return detail::add_node(scene_, names_, name, type);
}

int Reader::default_node(const std::string& written) { return detail::default_node(scene_, names_, written); }

// A node is in the DAG when its type is, when it has a parent, or when it is one: a node of a type
// this reader does not know still takes its place in the hierarchy.
void Reader::place_in_dag(int index) {
  Node& node = scene_.nodes[static_cast<std::size_t>(index)];
  if (node.parent >= 0) scene_.nodes[static_cast<std::size_t>(node.parent)].dag = true;
  node.dag = node.parent >= 0 || !node.parent_name.empty() || inherits(node.type, "dagNode");
}

void Reader::create_node(const Token& command) {
  const Args& args = args_;
  if (args.positionals.empty()) lex_.fail(command.line, command.column, "createNode without a node type");
  const std::string& type = args.positionals[0]->text;
  const Token* name_flag = args.flag({"n", "name"});
  std::string name = name_flag != nullptr && !name_flag->text.empty() ? name_flag->text : type + "1";
  const Token* parent_flag = args.flag({"p", "parent"});
  const std::string parent_name = parent_flag != nullptr ? parent_flag->text : std::string();
  const bool shared = args.has({"s", "shared"});

  if (parent_name.empty()) {
    const int existing = find_node(name);
    if (existing >= 0 && (shared || scene_.nodes[static_cast<std::size_t>(existing)].implicit)) {
      Node& node = scene_.nodes[static_cast<std::size_t>(existing)];
      node.implicit = false;
      node.shared = node.shared || shared;
      node.type = scene_.texts.intern(type);
      place_in_dag(existing);
      current_ = existing;
      return;
    }
  }
  const int parent = parent_name.empty() ? -1 : find_node(parent_name);  // before the node can match itself
  const int index = add_node(name, type);
  Node& node = scene_.nodes[static_cast<std::size_t>(index)];
  node.shared = shared;
  node.parent_name = detail::parent_text(scene_, parent, parent_name);
  node.parent = parent;
  place_in_dag(index);
  current_ = index;
}

void Reader::rename(const Token& command) {
  const Args& args = args_;
  if (const Token* uid = args.flag({"uid", "uuid"})) {
    const int target = args.positionals.empty() ? current_ : find_node(args.positionals[0]->text);
    if (target >= 0) scene_.uuids.set(target, uid->text);
    return;
  }
  if (args.positionals.empty()) lex_.fail(command.line, command.column, "rename without a name");
  const int target = args.positionals.size() >= 2 ? find_node(args.positionals[0]->text) : current_;
  if (target < 0) return;
  Node& node = scene_.nodes[static_cast<std::size_t>(target)];
  names_.remove(node.name, target);
  node.name = scene_.texts.keep(strip_root(args.positionals.back()->text));
  names_.add(node.name, target);
}

void Reader::select() {
  const Args& args = args_;
  current_ = args.positionals.empty() ? -1 : selected_node(scene_, names_, args.positionals[0]->text);
}

void Reader::lock_node() {
  const Args& args = args_;
  bool lock = true;
  if (const Token* l = args.flag({"l", "lock"})) {
    const Value v = word_value(l->text);
    lock = v.kind == Value::Kind::Bool ? v.b : v.kind == Value::Kind::Int ? v.i != 0 : true;
  }
  if (args.positionals.empty()) {
    if (current_ >= 0) scene_.nodes[static_cast<std::size_t>(current_)].locked = lock;
    return;
  }
  for (const Token* t : args.positionals) {
    const int n = find_node(t->text);
    if (n >= 0) scene_.nodes[static_cast<std::size_t>(n)].locked = lock;
  }
}

}  // namespace detail
}  // namespace mayascene
