// The run settings that the service's client passes through the environment.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer {

// Reads the five settings in their fixed order, each guarded by itself: a missing or malformed
// value is logged and leaves its target as it was.
void readRunSettings(const Analyzer& analyzer);

// The value of an environment variable, or an empty Ref when it is not set.
python::Ref environmentValue(const char* name);

// The variable's value as a Python int, or an empty Ref when it is unset or not a decimal integer.
python::Ref environmentInteger(const char* name);

}  // namespace vanalyzer
