// listConnections.
#include "scenegraph/queries.h"

namespace scenegraph {

namespace {

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// The plug's attribute is the one asked for, or one of its elements or children.
bool under(std::string_view attr, const std::string& wanted) {
  return attr == wanted ||
         (starts_with(attr, wanted) && (attr[wanted.size()] == '[' || attr[wanted.size()] == '.'));
}

}  // namespace

std::vector<std::string> list_connections(const Graph& graph, const std::vector<std::string>& targets,
                                          const ConnectionQuery& query) {
  std::vector<std::string> out;
  for (const std::string& target : targets) {
    const auto [node_text, attr] = split_plug(target);
    const NodeId node = graph.require(node_text);
    const bool whole_node = attr.empty();
    const std::string wanted = whole_node ? std::string() : resolve_attribute(graph, node, attr).canonical;
    std::string mine_name;
    for (const Graph::Connection& c : graph.connections_of(node)) {
      // The sources of the node's inputs first, then the destinations of its outputs.
      const std::pair<const Graph::PlugEnd*, const Graph::PlugEnd*> sides[] = {{&c.destination, &c.source},
                                                                               {&c.source, &c.destination}};
      for (int side = 0; side < 2; ++side) {
        if (!(side == 0 ? query.sources : query.destinations)) continue;
        const Graph::PlugEnd& mine = *sides[side].first;
        const Graph::PlugEnd& other = *sides[side].second;
        if (mine.node != node || (!whole_node && !under(mine.attr, wanted))) continue;
        if (query.type && (other.node == kNoNode || !graph.is_type(other.node, *query.type))) continue;
        std::string answer = other.node != kNoNode ? graph.display_name(other.node) : other.node_text;
        if (query.plugs) {
          answer += '.';
          answer += other.attr;
        }
        if (query.pairs) {
          if (mine_name.empty()) mine_name = graph.display_name(node);
          out.push_back(mine_name + "." + std::string(mine.attr));
        }
        out.push_back(std::move(answer));
      }
    }
  }
  return out;
}

}  // namespace scenegraph
