// Files that the scene references but that do not exist.
#pragma once

#include "analyzer/analyzer.h"

namespace vanalyzer::analysis {

// Removes the empty text from missingFiles.
void dropEmptyMissingFile(const Analyzer& analyzer);
void logMissingFileCount(const Analyzer& analyzer);

// Raises code 10001 (a warning) when files are missing.
void raiseMissingFiles(const Analyzer& analyzer);

// The missing paths as Unicode text, each followed by CR LF. Byte paths are taken as GBK (code
// page 936) where they are not ASCII; a path that cannot be read as text is left out.
python::Ref missingFilesText(const Analyzer& analyzer);

}  // namespace vanalyzer::analysis
