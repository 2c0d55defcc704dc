// The scene path in its exact form on disk, as the service stores and reports it.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// Replaces sceneName by the service's on-disk form: asked for the UTF-8 form first; an empty or
// unencodable name, or a failed lookup, asks again with the name as it stands (unguarded).
void resolveScenePath(const Analyzer& analyzer);

}  // namespace vanalyzer::analysis
