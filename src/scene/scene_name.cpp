#include "scene/scene_name.h"

#include "python/compat.h"

namespace vanalyzer::scene {

python::Ref getSceneName(PyObject*, PyObject*, PyObject*) { return python::text(""); }
python::Ref getSceneNameFromMaya(PyObject*) { return python::text(""); }
python::Ref getSceneNameFromParms(PyObject*, PyObject*) { return python::Ref::borrow(Py_None); }

}  // namespace vanalyzer::scene
