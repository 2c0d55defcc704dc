// scenegraph.Graph's methods over its files (file_methods.cpp).
#pragma once

#include "python/python.h"

namespace scenegraph_python {

PyObject* initialise(PyObject* self, PyObject* args, PyObject* kwargs) noexcept;
PyObject* addFile(PyObject* self, PyObject* args, PyObject* kwargs) noexcept;
PyObject* fileCount(PyObject* self, PyObject*) noexcept;
PyObject* fileInfo(PyObject* self, PyObject* args) noexcept;
PyObject* applyReferenceEdits(PyObject* self, PyObject*) noexcept;

}  // namespace scenegraph_python
