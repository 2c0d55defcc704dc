// File-system queries of the accounting, answered by the operating system directly. Paths are the
// operating system's own bytes (UTF-8 on Windows, where they are widened for the wide-character
// calls); a failure reports the C library's error number.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vanalyzer::analysis {

// The size in bytes of what the path names (following links), as os.stat reports it.
std::optional<std::int64_t> fileSize(const std::string& path, int& errorNumber);

// os.path.exists: the path names something that can be queried.
bool pathExists(const std::string& path);

// The real absolute form of a path that exists: links resolved (Windows: the full path name).
std::optional<std::string> canonicalPath(const std::string& path, int& errorNumber);

}  // namespace vanalyzer::analysis
