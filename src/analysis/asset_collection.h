// What the service's asset module reports about the scene: its files, the missing ones, and the
// evaluation-mode script; and the host's plug-ins in use.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// Calls the five gatherers and merges their files and missing files into the analyzer's sets.
void collectAssets(const Analyzer& analyzer);

// melString from the service; a failure is logged and leaves melString as it stood.
void readEvaluationMode(const Analyzer& analyzer);

// Logs the host's plug-ins in use.
void logPluginsInUse();

}  // namespace vanalyzer::analysis
