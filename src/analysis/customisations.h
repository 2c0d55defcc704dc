// Adjustments for particular customers of the service, selected by Customz.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// Customer Tamsel (2): the customer's module decides the file prefix. Customer Quorin (4): the job
// environment gains PELKCUS=4. Returns the prefix to use. Unguarded: a missing module ends the
// analysis.
python::Ref applyCustomisations(const Analyzer& analyzer, const python::Ref& layerPrefix);

}  // namespace vanalyzer::analysis
