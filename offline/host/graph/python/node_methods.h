// scenegraph.Graph's methods over its nodes (node_methods.cpp).
#pragma once

#include "python/python.h"

namespace scenegraph_python {

PyObject* find(PyObject* self, PyObject* args) noexcept;
PyObject* nodes(PyObject* self, PyObject* args, PyObject* kwargs) noexcept;
PyObject* name(PyObject* self, PyObject* args) noexcept;
PyObject* nodeType(PyObject* self, PyObject* args) noexcept;
PyObject* isType(PyObject* self, PyObject* args) noexcept;
PyObject* ls(PyObject* self, PyObject* args, PyObject* kwargs) noexcept;
PyObject* listRelatives(PyObject* self, PyObject* args, PyObject* kwargs) noexcept;
PyObject* listConnections(PyObject* self, PyObject* args, PyObject* kwargs) noexcept;
PyObject* objectExists(PyObject* self, PyObject* args) noexcept;

}  // namespace scenegraph_python
