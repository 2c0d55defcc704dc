// The module-level names (sys, json, os, platform, re, vout, vfile, vutils, py, Maya_Analyzer, ...).
// Steps look them up at the moment they use them, as module code would, so a name that was never
// bound (py outside the host) fails with NameError inside the step that uses it.
#pragma once

#include "python/ref.h"

namespace vanalyzer::host {

void bindModuleDictionary(python::Ref dictionary);
python::Ref moduleGlobal(const char* name);

}  // namespace vanalyzer::host
