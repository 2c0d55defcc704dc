// Finding the scene being analysed: the open scene's name, or the process arguments.
#pragma once

#include "python/ref.h"

namespace vanalyzer::scene {

python::Ref getSceneName(PyObject* self, PyObject* analyzerMode, PyObject* sceneName);
python::Ref getSceneNameFromMaya(PyObject* self);
python::Ref getSceneNameFromParms(PyObject* self, PyObject* sceneName);

}  // namespace vanalyzer::scene
