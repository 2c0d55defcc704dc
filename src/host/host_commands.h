// The host's command layer, bound at load time as the module-level name `py`.
#pragma once

#include <initializer_list>

#include "python/objects.h"

namespace vanalyzer::host {

// py.<command>(*positional, **flags)
python::Ref hostCommand(const char* command, std::initializer_list<PyObject*> positional,
                        std::initializer_list<python::Keyword> flags = {});

}  // namespace vanalyzer::host
