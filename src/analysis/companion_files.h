// Converted copies that renderers keep beside a texture (Redshift ".rstexbin", Arnold ".tx"),
// accounted as assets of their own when the run's settings ask for them.
#pragma once

#include "analysis/accounted_files.h"
#include "analysis/accounting_settings.h"

namespace vanalyzer::analysis {

// Accounts the existing companions of `path`. A failure is logged and ends only that companion:
// the referenced file's own accounting goes on.
void accountCompanions(AccountedFiles& accounted, const python::Ref& path, const AccountingSettings& settings,
                       const python::Ref& getRealDiskPath);

}  // namespace vanalyzer::analysis
