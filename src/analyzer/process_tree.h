// Ending the host's process tree once the result is delivered.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vanalyzer {

// The Windows command that ends the process `pid` and every process it started.
std::string windowsTerminationCommand(long long pid);

// The parent identifier in one /proc/<pid>/stat line ("pid (comm) state ppid ..."); the command
// name may itself hold spaces and parentheses, so the fields are read after its last ')'.
std::optional<int> parentFromStatLine(std::string_view statLine);

// Every descendant of `root` among (process, parent) pairs, parents before their children.
std::vector<int> descendantsOf(int root, const std::vector<std::pair<int, int>>& processParents);

}  // namespace vanalyzer
