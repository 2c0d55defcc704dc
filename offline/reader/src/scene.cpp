#include "mayascene/scene.h"

namespace mayascene {

Value Value::boolean(bool v) {
  Value out;
  out.kind = Kind::Bool;
  out.b = v;
  return out;
}

Value Value::integer(std::int64_t v) {
  Value out;
  out.kind = Kind::Int;
  out.i = v;
  return out;
}

Value Value::real(double v) {
  Value out;
  out.kind = Kind::Double;
  out.d = v;
  return out;
}

Value Value::string(std::string v) {
  Value out;
  out.kind = Kind::String;
  out.s = std::move(v);
  return out;
}

bool Value::operator==(const Value& o) const {
  if (kind != o.kind) return false;
  switch (kind) {
    case Kind::Bool: return b == o.b;
    case Kind::Int: return i == o.i;
    case Kind::Double: return d == o.d;
    case Kind::String: return s == o.s;
    case Kind::StringArray:
    case Kind::Tuple: return items == o.items;
  }
  return false;
}

}  // namespace mayascene

namespace mayascene {

namespace {

std::string_view without_root(std::string_view name) {
  if (!name.empty() && name.front() == ':') name.remove_prefix(1);
  return name;
}

// The last component of a '|' path and the rest before it ("" when there is none).
std::string_view last_component(std::string_view path, std::string_view* rest) {
  const std::size_t bar = path.rfind('|');
  if (bar == std::string_view::npos) {
    *rest = std::string_view();
    return path;
  }
  *rest = path.substr(0, bar);
  return path.substr(bar + 1);
}

}  // namespace

std::string dag_path(const Scene& scene, int index) {
  if (index < 0 || !scene.nodes[static_cast<std::size_t>(index)].dag) return std::string();
  std::vector<const Node*> chain;
  std::size_t length = 0;
  for (int i = index; i >= 0; i = scene.nodes[static_cast<std::size_t>(i)].parent) {
    chain.push_back(&scene.nodes[static_cast<std::size_t>(i)]);
    length += chain.back()->name.size() + 1;
    if (chain.size() > scene.nodes.size()) break;  // a parent cycle: the links of a hostile file
  }
  std::string path;
  const std::string_view outside = without_root(chain.back()->parent_name);
  if (!outside.empty()) {  // the top node's parent lies in another file
    path.reserve(length + outside.size() + 1);
    if (outside.front() != '|') path += '|';
    path += outside;
  } else {
    path.reserve(length);
  }
  for (auto node = chain.rbegin(); node != chain.rend(); ++node) {
    path += '|';
    path += (*node)->name;
  }
  return path;
}

bool dag_path_matches(const Scene& scene, int index, std::string_view partial) {
  partial = without_root(partial);
  const bool absolute = !partial.empty() && partial.front() == '|';
  if (absolute) partial.remove_prefix(1);
  std::string_view rest = partial;
  int node = index;
  std::size_t steps = 0;
  while (node >= 0) {
    if (rest.empty()) return !absolute;
    const Node& n = scene.nodes[static_cast<std::size_t>(node)];
    std::string_view before;
    if (last_component(rest, &before) != n.name) return false;
    rest = before;
    if (n.parent < 0) {
      // Above the file's top node: the parent as written, when it lies in another file.
      std::string_view outside = without_root(n.parent_name);
      if (!outside.empty() && outside.front() == '|') outside.remove_prefix(1);
      while (!outside.empty() && !rest.empty()) {
        std::string_view outside_before;
        std::string_view rest_before;
        if (last_component(rest, &rest_before) != last_component(outside, &outside_before)) return false;
        rest = rest_before;
        outside = outside_before;
      }
      return rest.empty() && (!absolute || outside.empty());
    }
    node = n.parent;
    if (++steps > scene.nodes.size()) return false;  // a parent cycle
  }
  return false;
}

void NameIndex::add(const std::string& name, int index) { by_name_[name].push_back(index); }

void NameIndex::remove(const std::string& name, int index) {
  const auto it = by_name_.find(name);
  if (it == by_name_.end()) return;
  auto& slot = it->second;
  for (auto i = slot.begin(); i != slot.end(); ++i) {
    if (*i == index) {
      slot.erase(i);
      break;
    }
  }
}

const std::vector<int>* NameIndex::named(const std::string& name) const {
  const auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : &it->second;
}

int NameIndex::find(const Scene& scene, std::string_view written) const {
  const std::string_view name = without_root(written);
  std::string_view rest;
  const std::string_view leaf = last_component(name, &rest);
  const auto it = by_name_.find(std::string(leaf));
  if (it == by_name_.end() || it->second.empty()) return -1;
  if (name.find('|') == std::string_view::npos) return it->second.back();
  for (auto candidate = it->second.rbegin(); candidate != it->second.rend(); ++candidate) {
    if (scene.nodes[static_cast<std::size_t>(*candidate)].dag && dag_path_matches(scene, *candidate, name)) {
      return *candidate;
    }
  }
  return -1;
}

}  // namespace mayascene
