// getAttr, getAttr -mi, attributeQuery -exists, objExists: attribute values by Maya's long or
// short names, with Maya's defaults where the file sets none.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "mayascene/names.h"
#include "scenegraph/queries.h"

namespace scenegraph {

namespace {

std::string_view leaf_of(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  const std::size_t start = dot == std::string_view::npos ? 0 : dot + 1;
  const std::size_t bracket = path.find('[', start);
  return path.substr(start, bracket == std::string_view::npos ? std::string_view::npos : bracket - start);
}

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// The node a plug names; NameError for none or several.
NodeId plug_node(const Graph& graph, std::string_view plug, std::string_view node_text) {
  const Found found = graph.find(node_text);
  if (found.ambiguous) several_objects(node_text.substr(!node_text.empty() && node_text.front() == ':' ? 1 : 0));
  if (found.node == kNoNode) no_object(plug);
  return found.node;
}

// "name[12]..." after the prefix "name[": 12.
bool index_after(std::string_view text, std::size_t start, long long* index) {
  const std::size_t close = text.find(']', start);
  if (close == std::string_view::npos || close == start) return false;
  const std::string digits(text.substr(start, close - start));
  char* end = nullptr;
  const long long value = std::strtoll(digits.c_str(), &end, 10);
  if (*end != '\0') return false;
  *index = value;
  return true;
}

}  // namespace

AttributeName resolve_attribute(const Graph& graph, NodeId node, std::string_view attr) {
  const mayascene::Node& model = graph.model(node);
  const std::string& type = graph.type(node);
  AttributeName out;
  out.canonical = mayascene::canonical_path(type, attr, model.dynamic);
  if (const mayascene::AttributeInfo* info = mayascene::find_attribute(type, leaf_of(attr))) {
    out.known = true;
    mayascene::Value value;
    if (mayascene::default_value(*info, &value)) out.default_value = std::move(value);
  }
  const std::string_view leaf = leaf_of(out.canonical);
  if (const mayascene::DynamicAttribute* dynamic = model.dynamic.find_long(leaf)) {
    out.known = true;
    out.default_value.reset();
    if (dynamic->has_default) out.default_value = dynamic->default_value;
  }
  return out;
}

bool attribute_exists(const Graph& graph, NodeId node, std::string_view attr) {
  const AttributeName name = resolve_attribute(graph, node, attr);
  return name.known || graph.model(node).attrs.holds_under(name.canonical);
}

AttributeValue get_attr(const Graph& graph, std::string_view plug) {
  const auto [node_text, attr] = split_plug(plug);
  const NodeId node = plug_node(graph, plug, node_text);
  if (attr.empty()) no_object(plug);
  return get_attr(graph, node, attr);
}

AttributeValue get_attr(const Graph& graph, NodeId node, std::string_view attr) {
  std::optional<AttributeValue> found = get_resolved_attr(graph, node, resolve_attribute(graph, node, attr));
  if (!found) no_object(graph.name(node) + "." + std::string(attr));
  return std::move(*found);
}

std::optional<AttributeValue> get_resolved_attr(const Graph& graph, NodeId node, const AttributeName& name) {
  const mayascene::Node& model = graph.model(node);
  AttributeValue out;
  out.node = node;
  out.value = model.attrs.get(name.canonical);
  if (out.value) {
    out.stored = true;
    return out;
  }
  if (!name.known && !model.attrs.holds_under(name.canonical)) return std::nullopt;
  out.value = name.default_value;
  return out;
}

std::vector<long long> multi_indices(const Graph& graph, std::string_view plug) {
  const auto [node_text, attr] = split_plug(plug);
  const NodeId node = plug_node(graph, plug, node_text);
  if (attr.empty()) no_object(plug);
  return multi_indices(graph, node, attr);
}

std::vector<long long> multi_indices(const Graph& graph, NodeId node, std::string_view attr) {
  const std::string prefix = resolve_attribute(graph, node, attr).canonical + "[";
  std::vector<long long> indices;
  long long index = 0;
  const mayascene::Node& model = graph.model(node);
  for (const std::string& key : model.attrs.keys_with_prefix(prefix)) {
    if (index_after(key, prefix.size(), &index)) indices.push_back(index);
  }
  for (const Graph::Connection& c : graph.connections_of(node)) {
    for (const Graph::PlugEnd* end : {&c.source, &c.destination}) {
      if (end->node == node && starts_with(end->attr, prefix) && index_after(end->attr, prefix.size(), &index)) {
        indices.push_back(index);
      }
    }
  }
  std::sort(indices.begin(), indices.end());
  indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
  return indices;
}

bool object_exists(const Graph& graph, std::string_view name) {
  const auto [node_text, attr] = split_plug(name);
  const Found found = graph.find(node_text);
  if (found.ambiguous) return true;  // several objects match: it exists
  if (found.node == kNoNode) return false;
  return attr.empty() || attribute_exists(graph, found.node, attr);
}

}  // namespace scenegraph
