#include "graph_binding.h"

#include <memory>

namespace scenegraph_python {

using python::Ref;
using scenegraph::Graph;

namespace {

constexpr char kCapsuleName[] = "scenegraph.Graph";
constexpr char kGraphAttribute[] = "_graph";

void destroyGraph(PyObject* capsule) {
  delete static_cast<Graph*>(PyCapsule_GetPointer(capsule, kCapsuleName));
}

}  // namespace

void attachGraph(PyObject* self) {
  auto graph = std::make_unique<Graph>();
  Ref capsule = python::require(PyCapsule_New(graph.get(), kCapsuleName, destroyGraph));
  graph.release();
  python::setAttribute(self, kGraphAttribute, capsule);
}

Graph& graphOf(PyObject* self) {
  Ref capsule = python::attribute(self, kGraphAttribute);
  void* graph = PyCapsule_GetPointer(capsule.get(), kCapsuleName);
  if (graph == nullptr) throw python::Error();
  return *static_cast<Graph*>(graph);
}

scenegraph::NodeId nodeArgument(const Graph& graph, PyObject* object) {
  const long long value = python::asInteger(object);
  if (value < 0 || static_cast<unsigned long long>(value) >= graph.node_count()) {
    PyErr_SetString(PyExc_IndexError, "no node of that id in the graph");
    throw python::Error();
  }
  return static_cast<scenegraph::NodeId>(value);
}

}  // namespace scenegraph_python
