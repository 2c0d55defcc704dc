// Node names: the name table, names in a file's frame, and DAG paths matched by walking parent
// links (a path is never stored; its components are compared with the nodes' names).
#include <algorithm>

#include "graph_internals.h"

namespace scenegraph {

void no_object(std::string_view name) { throw NameError("No object matches name: " + std::string(name)); }

void several_objects(std::string_view name) {
  throw NameError("More than one object matches name: " + std::string(name));
}

std::pair<std::string_view, std::string_view> split_plug(std::string_view plug) {
  const std::size_t bar = plug.rfind('|');
  const std::size_t dot = plug.find('.', bar == std::string_view::npos ? 0 : bar + 1);
  if (dot == std::string_view::npos) return {plug, std::string_view()};
  return {plug.substr(0, dot), plug.substr(dot + 1)};
}

void Graph::Names::insert(NodeId node) {
  if ((count_ + 1) * 2 > slots_.size()) grow(std::max<std::size_t>(64, slots_.size() * 2));
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = graph_.hash_of(node) & mask;
  while (slots_[i] != kNoNode) i = (i + 1) & mask;
  slots_[i] = node;
  ++count_;
}

void Graph::Names::reserve(std::size_t more) {
  std::size_t slots = std::max<std::size_t>(64, slots_.size());
  while ((count_ + more) * 2 > slots) slots *= 2;
  if (slots != slots_.size()) grow(slots);
}

void Graph::Names::grow(std::size_t slots) {
  std::vector<NodeId> old;
  old.swap(slots_);
  slots_.assign(slots, kNoNode);
  const std::size_t mask = slots_.size() - 1;
  for (const NodeId node : old) {
    if (node == kNoNode) continue;
    std::size_t i = graph_.hash_of(node) & mask;
    while (slots_[i] != kNoNode) i = (i + 1) & mask;
    slots_[i] = node;
  }
}

std::uint32_t Graph::hash_of(NodeId node) const {
  const NodeRecord& record = nodes_[static_cast<std::size_t>(node)];
  NameHash hash;
  if (!record.rooted) hash.add(files_[static_cast<std::size_t>(file_of(node))]->frame);
  hash.add(model(node).name);
  return hash.value();
}

bool Graph::name_equals(NodeId node, std::string_view text) const {
  const NodeRecord& record = nodes_[static_cast<std::size_t>(node)];
  const std::string_view local = model(node).name;
  if (record.rooted) return text == local;
  const std::string& frame = files_[static_cast<std::size_t>(file_of(node))]->frame;
  return text.size() == frame.size() + local.size() && text.compare(0, frame.size(), frame) == 0 &&
         text.compare(frame.size(), std::string_view::npos, local) == 0;
}

void Graph::append_name(NodeId node, std::string* out) const {
  const NodeRecord& record = nodes_[static_cast<std::size_t>(node)];
  if (!record.rooted) *out += files_[static_cast<std::size_t>(file_of(node))]->frame;
  *out += model(node).name;
}

std::string Graph::name(NodeId node) const {
  std::string out;
  append_name(node, &out);
  return out;
}

std::string Graph::qualify(int file, std::string_view written) const {
  const std::string& frame = files_[static_cast<std::size_t>(file)]->frame;
  if (!written.empty() && written.front() == ':') return std::string(written.substr(1));
  if (frame.empty()) return std::string(written);
  std::string out;
  out.reserve(written.size() + frame.size() * 2);
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = written.find('|', start);
    const std::string_view component = written.substr(start, bar == std::string_view::npos ? bar : bar - start);
    if (!component.empty()) {
      if (component.front() == ':') {
        out += component.substr(1);
      } else {
        out += frame;
        out += component;
      }
    }
    if (bar == std::string_view::npos) break;
    out += '|';
    start = bar + 1;
  }
  return out;
}

std::string Graph::outside_parent(NodeId node) const {
  const NodeRecord& record = nodes_[static_cast<std::size_t>(node)];
  if (record.parent != kNoNode) return std::string();
  const std::string_view written = model(node).parent_name;
  if (written.empty()) return std::string();
  return qualify(file_of(node), written);
}

bool Graph::path_matches(NodeId node, std::string_view partial) const {
  partial = without_root(partial);
  const bool absolute = !partial.empty() && partial.front() == '|';
  if (absolute) partial.remove_prefix(1);
  std::string_view rest = partial;
  for (NodeId n = node;;) {
    if (rest.empty()) return !absolute;
    std::string_view before;
    if (!name_equals(n, last_component(rest, &before))) return false;
    rest = before;
    const NodeId parent = nodes_[static_cast<std::size_t>(n)].parent;
    if (parent == kNoNode) {
      // Above the top node: its parent as written, when that is not in the graph.
      return mayascene::rest_matches_outside_parent(rest, outside_parent(n), absolute);
    }
    n = parent;
  }
}

void Graph::candidates(std::string_view full_name, std::vector<NodeId>* out) const {
  out->clear();
  NameHash hash;
  hash.add(full_name);
  names_->visit(hash.value(), [&](NodeId node) {
    if (name_equals(node, full_name)) out->push_back(node);
  });
  std::sort(out->begin(), out->end());
}

namespace {

template <class Keep>
Found choose(std::vector<NodeId>* hits, bool most_recent, Keep&& keep) {
  hits->erase(std::remove_if(hits->begin(), hits->end(), [&](NodeId n) { return !keep(n); }), hits->end());
  Found found;
  if (hits->empty()) return found;
  if (hits->size() == 1 || most_recent) {
    found.node = hits->back();
  } else {
    found.ambiguous = true;
  }
  return found;
}

}  // namespace

Found Graph::find_in_graph(std::string_view name, bool most_recent) const {
  name = without_root(name);
  if (name.find('|') == std::string_view::npos) {
    // A plain name, the common question: the table's probe alone, nothing gathered.
    NameHash hash;
    hash.add(name);
    Found found;
    int count = 0;
    names_->visit(hash.value(), [&](NodeId node) {
      if (!name_equals(node, name)) return;
      ++count;
      if (found.node == kNoNode || node > found.node) found.node = node;
    });
    if (count > 1 && !most_recent) found = Found{kNoNode, true};
    return found;
  }
  std::string_view rest;
  const std::string_view leaf = last_component(name, &rest);
  std::vector<NodeId> hits;
  candidates(leaf, &hits);
  return choose(&hits, most_recent, [&](NodeId n) { return model(n).dag && path_matches(n, name); });
}

std::vector<NodeId> Graph::nodes_named(std::string_view name) const {
  name = without_root(name);
  std::string_view rest;
  std::vector<NodeId> hits;
  candidates(last_component(name, &rest), &hits);
  if (name.find('|') != std::string_view::npos) {
    hits.erase(std::remove_if(hits.begin(), hits.end(), [&](NodeId n) { return !(model(n).dag && path_matches(n, name)); }),
               hits.end());
  }
  return hits;
}

Found Graph::find(std::string_view name) const { return find_in_graph(name, false); }

NodeId Graph::require(std::string_view name) const {
  const Found found = find(name);
  if (found.ambiguous) several_objects(without_root(name));
  if (found.node == kNoNode) no_object(name);
  return found.node;
}

Found Graph::resolve(int file, std::string_view written) const {
  const File& f = *files_[static_cast<std::size_t>(file)];
  if (f.frame.empty() || (!written.empty() && written.front() == ':')) return find_in_graph(written, false);
  const Found own = find_in_graph(qualify(file, written), false);
  if (own.node != kNoNode || own.ambiguous) return own;
  // A shared node of the file (lightLinker1, the default cameras) merged into the root's, and
  // the default nodes every scene has, keep their root names.
  std::string_view rest;
  const std::string_view leaf = last_component(written, &rest);
  std::vector<NodeId> hits;
  candidates(leaf, &hits);
  return choose(&hits, false, [&](NodeId n) {
    const mayascene::Node& node = model(n);
    return (node.shared || node.implicit) && nodes_[static_cast<std::size_t>(n)].rooted &&
           (written.find('|') == std::string_view::npos || (node.dag && path_matches(n, written)));
  });
}

}  // namespace scenegraph
