// The shortest unique partial DAG path of a node, as Maya names DAG nodes in command answers.
// The nodes that share a name are told apart together, one path component at a time, so that
// each node costs the components its answer needs and no node keeps a copy of its path.
#include <algorithm>
#include <map>

#include "graph_internals.h"

namespace scenegraph {

namespace {

// Walks a node's path components upward: its name, its ancestors' names, then the components
// of a parent written in a file but not in the graph.
class Components {
 public:
  Components(const Graph& graph, NodeId node) : graph_(graph), node_(node) {}

  // The next component up; false when there is none.
  bool advance(std::string* component) {
    if (node_ != kNoNode) {
      const NodeId parent = graph_.parent(node_);
      if (parent != kNoNode) {
        node_ = parent;
        *component = graph_.name(node_);
        return true;
      }
      outside_ = graph_.outside_parent(node_);
      rest_ = without_root(outside_);
      node_ = kNoNode;
    }
    while (!rest_.empty()) {
      std::string_view before;
      const std::string_view last = last_component(rest_, &before);
      rest_ = before;
      if (!last.empty()) {
        component->assign(last);
        return true;
      }
    }
    return false;
  }

 private:
  const Graph& graph_;
  NodeId node_;
  std::string outside_;
  std::string_view rest_;
};

}  // namespace

void Graph::compute_unique_depths(const std::vector<NodeId>& group) const {
  std::vector<std::uint32_t>& depth = link_->unique_depth;
  std::vector<Components> walkers;
  walkers.reserve(group.size());
  for (const NodeId node : group) walkers.emplace_back(*this, node);
  std::vector<std::vector<std::size_t>> classes(1);
  for (std::size_t i = 0; i < group.size(); ++i) classes[0].push_back(i);
  std::string component;
  for (std::uint32_t level = 1; !classes.empty(); ++level) {
    std::vector<std::vector<std::size_t>> next;
    for (const std::vector<std::size_t>& members : classes) {
      if (members.size() == 1) {
        depth[static_cast<std::size_t>(group[members[0]])] = level;
        continue;
      }
      // Still shared at this length: one component more.
      std::map<std::string, std::vector<std::size_t>> by_component;
      for (const std::size_t m : members) {
        if (walkers[m].advance(&component)) {
          by_component[component].push_back(m);
        } else {
          depth[static_cast<std::size_t>(group[m])] = kFullPath;  // its whole path is another's end
        }
      }
      for (auto& entry : by_component) next.push_back(std::move(entry.second));
    }
    classes.swap(next);
  }
}

std::string Graph::display_name(NodeId node, bool long_names) const {
  if (!model(node).dag) return name(node);
  if (long_names) return path(node);
  std::vector<std::uint32_t>& depth = link_->unique_depth;
  if (depth.size() != nodes_.size()) depth.assign(nodes_.size(), 0);
  if (depth[static_cast<std::size_t>(node)] == 0) {
    std::vector<NodeId> group;
    candidates(name(node), &group);
    group.erase(std::remove_if(group.begin(), group.end(), [&](NodeId n) { return !model(n).dag; }), group.end());
    if (group.size() <= 1) {
      depth[static_cast<std::size_t>(node)] = 1;
    } else {
      compute_unique_depths(group);
    }
  }
  const std::uint32_t wanted = depth[static_cast<std::size_t>(node)];
  if (wanted == kFullPath) return path(node);
  std::vector<std::string> parts{name(node)};
  Components up(*this, node);
  std::string component;
  while (parts.size() < wanted && up.advance(&component)) parts.push_back(component);
  std::string out;
  for (auto part = parts.rbegin(); part != parts.rend(); ++part) {
    if (!out.empty()) out += '|';
    out += *part;
  }
  return out;
}

}  // namespace scenegraph
