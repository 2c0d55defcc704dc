// Preparing the host before the scene is resolved: plug-ins, the operating-system name, the module path.
#pragma once

#include "python/ref.h"

namespace vanalyzer::scene {

python::Ref loadSidePath(PyObject* self, PyObject* analyzerMode);
python::Ref initSceneAssemblyPlugins(PyObject* self);
python::Ref checkPlatform(PyObject* self);

}  // namespace vanalyzer::scene
