// ls and listRelatives.
#include <algorithm>

#include "scenegraph/glob.h"
#include "scenegraph/queries.h"

namespace scenegraph {

namespace {

std::string_view strip_root(std::string_view name) {
  if (!name.empty() && name.front() == ':') name.remove_prefix(1);
  return name;
}

bool any_type(const Graph& graph, NodeId node, const std::vector<std::string>& types) {
  return std::any_of(types.begin(), types.end(), [&](const std::string& t) { return graph.is_type(node, t); });
}

}  // namespace

std::vector<std::string> list_nodes(const Graph& graph, const LsQuery& query) {
  std::vector<Glob> globs;
  bool literal = true;
  for (const std::string& pattern : query.patterns) {
    globs.emplace_back(strip_root(pattern));
    if (globs.back().has_wildcards() && pattern.find('|') == std::string::npos) literal = false;
  }
  std::vector<NodeId> nodes;
  if (!query.patterns.empty() && literal) {
    for (const std::string& pattern : query.patterns) {
      const std::vector<NodeId> hits = graph.nodes_named(strip_root(pattern));
      nodes.insert(nodes.end(), hits.begin(), hits.end());
    }
    std::sort(nodes.begin(), nodes.end());
    nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
    if (query.types) {
      nodes.erase(std::remove_if(nodes.begin(), nodes.end(), [&](NodeId n) { return !any_type(graph, n, *query.types); }),
                  nodes.end());
    }
  } else {
    if (query.types) {
      nodes = graph.nodes_of_types(*query.types);
    } else {
      nodes.resize(graph.node_count());
      for (std::size_t i = 0; i < nodes.size(); ++i) nodes[i] = static_cast<NodeId>(i);
    }
    if (!query.patterns.empty()) {
      std::vector<NodeId> kept;
      for (const NodeId node : nodes) {
        const std::string name = graph.name(node);
        bool match = false;
        for (std::size_t p = 0; p < query.patterns.size() && !match; ++p) {
          const std::string_view pattern = strip_root(query.patterns[p]);
          match = pattern.find('|') != std::string_view::npos ? graph.is_dag(node) && graph.matches_path(node, pattern)
                                                              : globs[p].matches(name);
        }
        if (match) kept.push_back(node);
      }
      nodes.swap(kept);
    }
  }
  std::vector<std::string> out;
  out.reserve(nodes.size());
  for (const NodeId node : nodes) out.push_back(graph.display_name(node, query.long_names));
  return out;
}

std::vector<std::string> list_relatives(const Graph& graph, const std::vector<std::string>& targets,
                                        const RelativesQuery& query) {
  std::vector<std::string> out;
  std::vector<NodeId> found;
  auto emit = [&](NodeId node) {
    if (query.shapes && !graph.is_shape(node)) return;
    if (query.types && !any_type(graph, node, *query.types)) return;
    out.push_back(query.full_paths ? graph.path(node) : graph.name(node));
  };
  for (const std::string& target : targets) {
    const NodeId node = graph.require(target);
    if (query.parents) {
      const NodeId parent = graph.parent(node);
      if (parent != kNoNode) {
        emit(parent);
        continue;
      }
      // A parent in a file that is not loaded: only its written name is known.
      std::string outside = graph.outside_parent(node);
      if (outside.empty()) continue;
      outside.erase(0, std::min(outside.size(), outside.find_first_not_of(':')));
      if (query.full_paths && (outside.empty() || outside.front() != '|')) outside.insert(outside.begin(), '|');
      out.push_back(outside);
      continue;
    }
    if (query.all_descendents) {
      // Pre-order, then reversed: the deepest last-created node first, as Maya lists them.
      std::vector<NodeId> order;
      std::vector<NodeId> stack;
      std::vector<NodeId> kids = graph.children(node);
      stack.assign(kids.rbegin(), kids.rend());
      while (!stack.empty()) {
        const NodeId next = stack.back();
        stack.pop_back();
        order.push_back(next);
        kids = graph.children(next);
        stack.insert(stack.end(), kids.rbegin(), kids.rend());
      }
      for (auto n = order.rbegin(); n != order.rend(); ++n) emit(*n);
    } else {
      for (const NodeId child : graph.children(node)) emit(child);
    }
  }
  return out;
}

}  // namespace scenegraph
