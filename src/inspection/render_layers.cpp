#include "inspection/render_layers.h"

#include "python/objects.h"

namespace vanalyzer::inspection {

python::Ref getAllCamInScene(PyObject*) { return python::newList(); }
python::Ref getLayersInfo(PyObject*) { return python::newList(); }
python::Ref isDefaultRenderLayer(PyObject*) { return python::boolean(true); }
python::Ref get_PreFix(PyObject*) { return python::text(""); }

}  // namespace vanalyzer::inspection
