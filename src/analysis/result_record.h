// The analysis result: one JSON record for the service, built at the end of the analysis.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// What the analysis method computed itself; everything else comes from the analyzer's attributes.
struct AnalysisOutcome {
  python::Ref accountedFiles;   // set of path texts (refiles)
  python::Ref outputExtension;  // "exr" or ""
  python::Ref filePrefix;       // the common layer prefix, or the customer's
};

// Builds and serialises the record, logs the end of the analysis, unloads the two host plug-ins
// and returns the JSON text.
python::Ref finishAnalysis(const Analyzer& analyzer, const AnalysisOutcome& outcome);

}  // namespace vanalyzer::analysis
