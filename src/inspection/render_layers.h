// Render layers, cameras and the output prefix of the open scene.
#pragma once

#include "python/ref.h"

namespace vanalyzer::inspection {

python::Ref getAllCamInScene(PyObject* self);
python::Ref getLayersInfo(PyObject* self);
python::Ref isDefaultRenderLayer(PyObject* self);
python::Ref get_PreFix(PyObject* self);

}  // namespace vanalyzer::inspection
