// scenegraph.Graph's methods over its nodes: finding them by name, listing them (ls), their types,
// relatives and connections.
#include "node_methods.h"

#include <string>
#include <vector>

#include "graph_binding.h"
#include "python_values.h"
#include "scenegraph/queries.h"

namespace scenegraph_python {

using python::Ref;
using scenegraph::Graph;
using scenegraph::NodeId;

PyObject* find(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* name = nullptr;
    if (!PyArg_ParseTuple(args, "O:find", &name)) throw python::Error();
    const std::string written = textArgument(name, "name");
    const scenegraph::Found found = graph.find(written);
    if (found.ambiguous) scenegraph::several_objects(written.substr(!written.empty() && written[0] == ':' ? 1 : 0));
    return found.node == scenegraph::kNoNode ? Ref::borrow(Py_None) : python::integer(found.node);
  });
}

PyObject* nodes(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"types", nullptr};
    PyObject* types = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "|O:nodes", keywords(names), &types)) throw python::Error();
    const auto wanted = textsArgument(types, "types");
    Ref list = python::newList();
    if (wanted) {
      for (const NodeId node : graph.nodes_of_types(*wanted)) python::append(list.get(), python::integer(node).get());
    } else {
      for (std::size_t node = 0; node < graph.node_count(); ++node) {
        python::append(list.get(), python::integer(static_cast<long long>(node)).get());
      }
    }
    return list;
  });
}

PyObject* name(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* node = nullptr;
    if (!PyArg_ParseTuple(args, "O:name", &node)) throw python::Error();
    return text(graph.name(nodeArgument(graph, node)));
  });
}

PyObject* nodeType(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* name = nullptr;
    if (!PyArg_ParseTuple(args, "O:node_type", &name)) throw python::Error();
    return text(graph.type(graph.require(textArgument(name, "name"))));
  });
}

PyObject* isType(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* node = nullptr;
    PyObject* type = nullptr;
    if (!PyArg_ParseTuple(args, "OO:is_type", &node, &type)) throw python::Error();
    return python::boolean(graph.is_type(nodeArgument(graph, node), textArgument(type, "type")));
  });
}

PyObject* ls(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"types", "patterns", "long", nullptr};
    PyObject* types = nullptr;
    PyObject* patterns = nullptr;
    PyObject* longNames = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "|OOO:ls", keywords(names), &types, &patterns, &longNames)) {
      throw python::Error();
    }
    scenegraph::LsQuery query;
    query.types = textsArgument(types, "types");
    query.patterns = textsArgument(patterns, "patterns").value_or(std::vector<std::string>());
    query.long_names = truthArgument(longNames);
    return textList(scenegraph::list_nodes(graph, query));
  });
}

PyObject* listRelatives(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"targets", "parents", "all_descendents", "shapes", "types", "full_paths", nullptr};
    PyObject* targets = nullptr;
    PyObject* parents = nullptr;
    PyObject* descendants = nullptr;
    PyObject* shapes = nullptr;
    PyObject* types = nullptr;
    PyObject* fullPaths = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|OOOOO:list_relatives", keywords(names), &targets, &parents,
                                     &descendants, &shapes, &types, &fullPaths)) {
      throw python::Error();
    }
    scenegraph::RelativesQuery query;
    query.parents = truthArgument(parents);
    query.all_descendents = truthArgument(descendants);
    query.shapes = truthArgument(shapes);
    query.types = textsArgument(types, "types");
    query.full_paths = truthArgument(fullPaths);
    return textList(scenegraph::list_relatives(graph, *textsArgument(targets, "targets"), query));
  });
}

PyObject* listConnections(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"targets", "sources", "destinations", "plugs", "pairs", "type", nullptr};
    PyObject* targets = nullptr;
    PyObject* sources = nullptr;
    PyObject* destinations = nullptr;
    PyObject* plugs = nullptr;
    PyObject* pairs = nullptr;
    PyObject* type = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|OOOOO:list_connections", keywords(names), &targets, &sources,
                                     &destinations, &plugs, &pairs, &type)) {
      throw python::Error();
    }
    scenegraph::ConnectionQuery query;
    query.sources = sources == nullptr || truthArgument(sources);
    query.destinations = destinations == nullptr || truthArgument(destinations);
    query.plugs = truthArgument(plugs);
    query.pairs = truthArgument(pairs);
    if (type != nullptr && type != Py_None) query.type = textArgument(type, "type");
    return textList(scenegraph::list_connections(graph, *textsArgument(targets, "targets"), query));
  });
}

PyObject* objectExists(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* name = nullptr;
    if (!PyArg_ParseTuple(args, "O:object_exists", &name)) throw python::Error();
    return python::boolean(scenegraph::object_exists(graph, textArgument(name, "name")));
  });
}

}  // namespace scenegraph_python
