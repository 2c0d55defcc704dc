// The class Maya_Analyzer.
#pragma once

#include "python/ref.h"

namespace vanalyzer {

// type("Maya_Analyzer", (operations base,), {"__module__": module}): instances keep their state in
// an ordinary __dict__ and may be subclassed; the base carries the fifteen operations.
python::Ref createAnalyzerClass(const char* moduleName);

}  // namespace vanalyzer
