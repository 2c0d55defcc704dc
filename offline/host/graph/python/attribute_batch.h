// scenegraph.Graph's getAttr over many nodes in one call (attribute_batch.cpp).
#pragma once

#include "python/python.h"

namespace scenegraph_python {

PyObject* attributeValues(PyObject* self, PyObject* args) noexcept;

}  // namespace scenegraph_python
