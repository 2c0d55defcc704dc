// scenegraph.Graph's methods over attributes: values (getAttr), the indices of a multi, existence.
#include "attribute_methods.h"

#include <new>
#include <string>

#include "graph_binding.h"
#include "mayascene/reader.h"
#include "python_values.h"
#include "scene_reading.h"
#include "scenegraph/queries.h"

namespace scenegraph_python {

using python::Ref;
using scenegraph::Graph;
using scenegraph::NodeId;

// getAttr's answer; a text left in the file (over the cap on stored values) is read from it now.
Ref attributeAnswer(const Graph& graph, const scenegraph::AttributeValue& found) {
  if (!found.value || found.value->kind != mayascene::Value::Kind::Span) return attributeValue(found.value);
  const mayascene::Scene& scene = graph.scene(graph.file_of(found.node));
  std::string bytes;
  try {
    bytes = mayascene::read_span(scene, *found.value);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& failure) {
    PyErr_SetString(PyExc_IOError, failure.what());
    throw python::Error();
  }
  return python::decodedText(bytes, mayascene_python::sceneCodec(scene).c_str());
}

PyObject* getAttr(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* plug = nullptr;
    if (!PyArg_ParseTuple(args, "O:get_attr", &plug)) throw python::Error();
    return attributeAnswer(graph, scenegraph::get_attr(graph, textArgument(plug, "plug")));
  });
}

PyObject* value(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* node = nullptr;
    PyObject* attr = nullptr;
    if (!PyArg_ParseTuple(args, "OO:value", &node, &attr)) throw python::Error();
    return attributeAnswer(graph, scenegraph::get_attr(graph, nodeArgument(graph, node), textArgument(attr, "attribute")));
  });
}

PyObject* multiIndices(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* plug = nullptr;
    if (!PyArg_ParseTuple(args, "O:multi_indices", &plug)) throw python::Error();
    Ref list = python::newList();
    for (const long long index : scenegraph::multi_indices(graph, textArgument(plug, "plug"))) {
      python::append(list.get(), python::integer(index).get());
    }
    return list;
  });
}

PyObject* attributeExists(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* node = nullptr;
    PyObject* attr = nullptr;
    if (!PyArg_ParseTuple(args, "OO:attribute_exists", &node, &attr)) throw python::Error();
    const NodeId id = graph.require(textArgument(node, "node"));
    return python::boolean(scenegraph::attribute_exists(graph, id, textArgument(attr, "attribute")));
  });
}

}  // namespace scenegraph_python
