// The answers of Maya's commands (ls, listRelatives, listConnections, getAttr, attributeQuery,
// objExists) built from the graph, as Maya gives them. Names that name no node, or several where
// one is needed, raise NameError with Maya's message.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mayascene/scene.h"
#include "scenegraph/graph.h"

namespace scenegraph {

// ls: nodes of the types (derived types included; none when `types` is given but empty) whose
// name matches a pattern (every node without patterns), in graph order. A pattern with '|' is a
// partial or full DAG path; others are fnmatch patterns on the full node name. DAG nodes are
// named by display_name().
struct LsQuery {
  std::optional<std::vector<std::string>> types;
  std::vector<std::string> patterns;
  bool long_names = false;
};
std::vector<std::string> list_nodes(const Graph& graph, const LsQuery& query);

// listRelatives: children (or all descendants, deepest first, or parents) of each target;
// filtered by shapes and types; names, or full paths.
struct RelativesQuery {
  bool parents = false;
  bool all_descendents = false;
  bool shapes = false;
  std::optional<std::vector<std::string>> types;
  bool full_paths = false;
};
std::vector<std::string> list_relatives(const Graph& graph, const std::vector<std::string>& targets,
                                        const RelativesQuery& query);

// listConnections: for each target node or plug, what its connections lead to (nodes or plugs,
// with -c the target's own plug before each), in graph order.
struct ConnectionQuery {
  bool sources = true;
  bool destinations = true;
  bool plugs = false;
  bool pairs = false;
  std::optional<std::string> type;
};
std::vector<std::string> list_connections(const Graph& graph, const std::vector<std::string>& targets,
                                          const ConnectionQuery& query);

// An attribute of a node: its long name, whether Maya knows it, and its default.
struct AttributeName {
  std::string canonical;  // the path with long names
  bool known = false;
  std::optional<mayascene::Value> default_value;
};
AttributeName resolve_attribute(const Graph& graph, NodeId node, std::string_view attr);
bool attribute_exists(const Graph& graph, NodeId node, std::string_view attr);

// getAttr: the value the file stores, else Maya's default (none when the default is no value).
struct AttributeValue {
  std::optional<mayascene::Value> value;  // a Span is read from the node's file (mayascene::read_span)
  bool stored = false;  // from the file (or an edit), not a default
  NodeId node = kNoNode;
};
AttributeValue get_attr(const Graph& graph, std::string_view plug);
AttributeValue get_attr(const Graph& graph, NodeId node, std::string_view attr);
// get_attr with the attribute already resolved for the node; nothing where get_attr raises because
// the node has no such attribute. For many nodes of one type that add no attributes of their own,
// one resolve_attribute serves them all.
std::optional<AttributeValue> get_resolved_attr(const Graph& graph, NodeId node, const AttributeName& name);
// getAttr -mi: the indices of the multi attribute that hold a value or a connection, sorted.
std::vector<long long> multi_indices(const Graph& graph, std::string_view plug);
std::vector<long long> multi_indices(const Graph& graph, NodeId node, std::string_view attr);

// objExists: a node (several count) or a node's attribute.
bool object_exists(const Graph& graph, std::string_view name);

}  // namespace scenegraph
