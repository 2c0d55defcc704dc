// scenegraph.Graph.attribute_values: for each node, get_attr of the first of several attribute names
// that answers, else a default. What a gatherer asks of every node of a type, in one call instead of
// one call per node and name.
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

// get_attr's answer for the plug, or nothing where get_attr would raise an ordinary error (a node
// or attribute the graph does not know, a text that can no longer be read from its file).
std::optional<Ref> answered(const Graph& graph, const std::string& plug) {
  std::optional<Ref> found;
  try {
    python::guard([&] { found = attributeAnswer(graph, scenegraph::get_attr(graph, plug)); },
                  [](const python::CaughtError&) {});
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
    // the graph's own failures, which get_attr raises as ValueError or RuntimeError
  }
  return found;
}

}  // namespace

PyObject* attributeValues(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* nodes = nullptr;
    PyObject* names = nullptr;
    PyObject* fallback = Py_None;
    if (!PyArg_ParseTuple(args, "OO|O:attribute_values", &nodes, &names, &fallback)) throw python::Error();
    const std::vector<std::string> attributes = textsArgument(names, "attribute name").value_or(
        std::vector<std::string>());
    Ref values = python::newList();
    std::string plug;
    python::forEach(nodes, [&](const Ref& node) {
      std::optional<Ref> value;
      std::optional<std::string> name;
      // a node that is no text names nothing: get_attr raises for each of its plugs
      python::guard([&] { name = textArgument(node.get(), "node"); }, [](const python::CaughtError&) {});
      for (std::size_t i = 0; name && !value && i < attributes.size(); ++i) {
        plug.assign(*name).append(1, '.').append(attributes[i]);
        value = answered(graph, plug);
      }
      python::append(values.get(), value ? value->get() : fallback);
    });
    return values;
  });
}

}  // namespace scenegraph_python
