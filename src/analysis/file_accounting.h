// The accounting of the scene's files: each referenced path made absolute, brought to its exact
// form on disk, its companions added, filtered by the skip paths, sized and recorded.
#pragma once

#include "analysis/accounting_settings.h"
#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// Accounts every path of the analyzer's files and returns the set of accounted paths (refiles),
// after logging the totals.
python::Ref accountSceneFiles(const Analyzer& analyzer, const AccountingSettings& settings);

}  // namespace vanalyzer::analysis
