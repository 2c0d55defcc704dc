// The per-run settings of the file accounting: companion files and skip paths.
#pragma once

#include "analysis/skip_paths.h"
#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

struct AccountingSettings {
  bool redshiftBinaries = false;  // ".rstexbin" companions
  bool arnoldTx = false;          // ".tx" companions
  SkipPaths skipPaths;
};

// Reads the settings in their fixed order, each guarded by itself.
AccountingSettings readAccountingSettings(const Analyzer& analyzer);

}  // namespace vanalyzer::analysis
