// XGen palettes of the scene that the host's XGen interface has not resolved, noted in details.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// When the XGen plug-in exists and the counts of palette nodes and resolved palettes differ,
// appends (in Chinese) the two counts and one line per palette node without a description.
void checkXgenDescriptions(const Analyzer& analyzer);

}  // namespace vanalyzer::analysis
