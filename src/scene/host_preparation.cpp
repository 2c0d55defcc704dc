#include "scene/host_preparation.h"

namespace vanalyzer::scene {

python::Ref loadSidePath(PyObject*, PyObject*) { return python::Ref::borrow(Py_None); }
python::Ref initSceneAssemblyPlugins(PyObject*) { return python::Ref::borrow(Py_None); }
python::Ref checkPlatform(PyObject*) { return python::Ref::borrow(Py_None); }

}  // namespace vanalyzer::scene
