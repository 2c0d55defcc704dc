// The codes raised by the analysis itself, and every raised code expanded into its English and
// Chinese messages from the catalogue.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// Raises code 10020 when the VRay comparison answers true. It is a warning: an error status
// already recorded stands.
void raiseVRayCode(const Analyzer& analyzer);

// Appends one message record to errors for every catalogue entry (in file order) whose numeric
// code equals a raised code (in raising order), with ${scenePath} and ${missingFiles} filled in.
void expandErrorCodes(const Analyzer& analyzer, const python::Ref& missingFiles);

}  // namespace vanalyzer::analysis
