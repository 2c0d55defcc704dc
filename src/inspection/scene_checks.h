// The checks between reading the render setup and analysing the assets.
#pragma once

#include "python/ref.h"

namespace vanalyzer::inspection {

python::Ref checkScene(PyObject* self);

}  // namespace vanalyzer::inspection
