// scenegraph.Graph.attribute_values: for each group of attribute names and each node, get_attr of the
// first of the names that answers, else the group's default. What a gatherer asks of every node of a
// type, in one call instead of one call per node, group and name.
#include "attribute_batch.h"

#include <new>
#include <optional>
#include <string>
#include <vector>

#include "attribute_methods.h"
#include "graph_binding.h"
#include "python_values.h"
#include "scenegraph/queries.h"

namespace scenegraph_python {

using python::Ref;
using scenegraph::Graph;

namespace {

// get_attr's answer, or nothing where get_attr would raise an ordinary error (a node or attribute
// the graph does not know, a text that can no longer be read from its file).
template <typename Lookup>
std::optional<Ref> answered(const Graph& graph, Lookup lookup) {
  std::optional<Ref> found;
  try {
    python::guard(
        [&] {
          const std::optional<scenegraph::AttributeValue> value = lookup();
          if (value) found = attributeAnswer(graph, *value);
        },
        [](const python::CaughtError&) {});
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
    // the graph's own failures, which get_attr raises as ValueError or RuntimeError
  }
  return found;
}

// The asked names resolved for the batch's node type. The nodes a gatherer asks about are of one
// type, and a node that adds no attributes of its own resolves a name as every node of its type does.
class TypeNames {
 public:
  explicit TypeNames(const std::vector<std::string>& attributes) : attributes_(attributes) {}

  const scenegraph::AttributeName& resolved(const Graph& graph, scenegraph::NodeId node, std::size_t index) {
    if (!graph.model(node).dynamic.empty()) {
      own_ = scenegraph::resolve_attribute(graph, node, attributes_[index]);
      return own_;
    }
    const std::string& type = graph.type(node);
    if (!type_ || *type_ != type) {
      type_ = type;
      names_.assign(attributes_.size(), std::nullopt);
    }
    std::optional<scenegraph::AttributeName>& slot = names_[index];
    if (!slot) slot = scenegraph::resolve_attribute(graph, node, attributes_[index]);
    return *slot;
  }

 private:
  const std::vector<std::string>& attributes_;
  std::optional<std::string> type_;
  std::vector<std::optional<scenegraph::AttributeName>> names_;
  scenegraph::AttributeName own_;
};

// get_attr of the first of the names that the node answers, the node found once for all the names
// (and all the groups) asked of it. A text that names no one node, or a plug that get_attr would
// split elsewhere than between the node and the name, takes get_attr's own way.
std::optional<Ref> firstAnswer(const Graph& graph, const std::string& node, const scenegraph::Found& found,
                               const std::vector<std::string>& attributes, TypeNames& names, std::string& plug) {
  const bool one_node = !found.ambiguous && found.node != scenegraph::kNoNode;
  for (std::size_t i = 0; i < attributes.size(); ++i) {
    plug.assign(node).append(1, '.').append(attributes[i]);
    const auto [node_part, attribute_part] = scenegraph::split_plug(plug);
    std::optional<Ref> value;
    if (!one_node || attributes[i].empty() || node_part != node || attribute_part != attributes[i]) {
      value = answered(graph, [&] { return std::optional(scenegraph::get_attr(graph, plug)); });
    } else {
      value = answered(graph, [&] { return scenegraph::get_resolved_attr(graph, found.node, names.resolved(graph, found.node, i)); });
    }
    if (value) return value;
  }
  return std::nullopt;
}

// One group of names asked of every node: its names, its default and its column of answers.
struct Group {
  std::vector<std::string> attributes;
  Ref fallback;
  Ref column;
};

}  // namespace

PyObject* attributeValues(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* nodes = nullptr;
    PyObject* groupsArgument = nullptr;
    if (!PyArg_ParseTuple(args, "OO:attribute_values", &nodes, &groupsArgument)) throw python::Error();
    std::vector<Group> groups;
    python::forEach(groupsArgument, [&](const Ref& group) {
      PyObject* names = nullptr;
      PyObject* fallback = nullptr;
      if (!PyArg_ParseTuple(group.get(), "OO:attribute_values group", &names, &fallback)) throw python::Error();
      groups.push_back(Group{textsArgument(names, "attribute name").value_or(std::vector<std::string>()),
                             Ref::borrow(fallback), python::newList()});
    });
    std::vector<TypeNames> resolved;  // made once the groups are in place: each refers to its group's names
    resolved.reserve(groups.size());
    for (const Group& group : groups) resolved.emplace_back(group.attributes);
    std::string plug;
    python::forEach(nodes, [&](const Ref& node) {
      std::optional<std::string> name;
      // a node that is no text names nothing: get_attr raises for each of its plugs
      python::guard([&] { name = textArgument(node.get(), "node"); }, [](const python::CaughtError&) {});
      const scenegraph::Found found = name ? graph.find(*name) : scenegraph::Found{};
      for (std::size_t g = 0; g < groups.size(); ++g) {
        std::optional<Ref> value;
        if (name) value = firstAnswer(graph, *name, found, groups[g].attributes, resolved[g], plug);
        python::append(groups[g].column.get(), value ? value->get() : groups[g].fallback.get());
      }
    });
    Ref columns = python::newList();
    for (const Group& group : groups) python::append(columns.get(), group.column.get());
    return columns;
  });
}

}  // namespace scenegraph_python
