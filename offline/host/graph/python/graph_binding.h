// What every method of scenegraph.Graph shares: the C++ graph behind the instance (a capsule in
// its `_graph` attribute), keyword lists, node-id arguments, and Maya's ValueError for a name
// that names no node (or several).
#pragma once

#include <cstddef>

#include "python/caught_error.h"
#include "python/module_entry.h"
#include "python/objects.h"
#include "scenegraph/graph.h"

namespace scenegraph_python {

// Gives the instance a new, empty graph.
void attachGraph(PyObject* self);
scenegraph::Graph& graphOf(PyObject* self);

// A method body with the graph.
template <class Body>
PyObject* withGraph(PyObject* self, Body&& body) noexcept {
  return python::entry([&]() -> python::Ref {
    scenegraph::Graph& graph = graphOf(self);
    try {
      return body(graph);
    } catch (const scenegraph::NameError& failure) {
      PyErr_SetString(PyExc_ValueError, failure.what());
      throw python::Error();
    }
  });
}

// PyArg_ParseTupleAndKeywords' keyword list; 2.7 declares it without const.
template <std::size_t N>
char** keywords(const char* (&names)[N]) {
  return const_cast<char**>(names);
}

// A node id argument; IndexError for one the graph does not hold.
scenegraph::NodeId nodeArgument(const scenegraph::Graph& graph, PyObject* object);

}  // namespace scenegraph_python
