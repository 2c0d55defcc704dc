// The error-code catalogue: a JSON file of English and Chinese messages per code, found two
// directories above the folder of the service's vfile module.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// Sets scriptPath and, when the file exists, errorInfo, errorCodes and errors. Returns false when
// the catalogue file does not exist: construction then ends early, without an error.
bool loadErrorCatalogue(const Analyzer& analyzer);

}  // namespace vanalyzer::analysis
