// scenegraph.Graph's methods over attributes (attribute_methods.cpp).
#pragma once

#include "python/python.h"

namespace scenegraph_python {

PyObject* getAttr(PyObject* self, PyObject* args) noexcept;
PyObject* value(PyObject* self, PyObject* args) noexcept;
PyObject* multiIndices(PyObject* self, PyObject* args) noexcept;
PyObject* attributeExists(PyObject* self, PyObject* args) noexcept;

}  // namespace scenegraph_python
