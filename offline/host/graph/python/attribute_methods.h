// scenegraph.Graph's methods over attributes (attribute_methods.cpp).
#pragma once

#include "python/objects.h"
#include "python/python.h"
#include "scenegraph/queries.h"

namespace scenegraph_python {

// getAttr's answer; a text left in the file (over the cap on stored values) is read from it now.
python::Ref attributeAnswer(const scenegraph::Graph& graph, const scenegraph::AttributeValue& found);

PyObject* getAttr(PyObject* self, PyObject* args) noexcept;
PyObject* value(PyObject* self, PyObject* args) noexcept;
PyObject* multiIndices(PyObject* self, PyObject* args) noexcept;
PyObject* attributeExists(PyObject* self, PyObject* args) noexcept;

}  // namespace scenegraph_python
