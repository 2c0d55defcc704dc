// The methods of scenegraph.Graph (graph_methods.cpp).
#pragma once

#include "python/python.h"

namespace scenegraph_python {

PyMethodDef* graphMethods();
// The class that add_file raises for a malformed scene; kept for the life of the process.
void setParseErrorClass(PyObject* errorClass);

}  // namespace scenegraph_python
