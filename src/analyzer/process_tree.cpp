#include "analyzer/process_tree.h"

#include <cstdlib>
#include <set>

namespace vanalyzer {

std::string windowsTerminationCommand(long long pid) {
  return "taskkill.exe /T  /F /pid:" + std::to_string(pid);
}

std::optional<int> parentFromStatLine(std::string_view statLine) {
  const size_t commandEnd = statLine.rfind(')');
  if (commandEnd == std::string_view::npos) return std::nullopt;
  std::string_view rest = statLine.substr(commandEnd + 1);
  // " S 1234 ..." : the state, then the parent.
  size_t position = rest.find_first_not_of(' ');
  if (position == std::string_view::npos) return std::nullopt;
  position = rest.find(' ', position);
  if (position == std::string_view::npos) return std::nullopt;
  position = rest.find_first_not_of(' ', position);
  if (position == std::string_view::npos) return std::nullopt;
  const size_t end = rest.find(' ', position);
  const std::string field(rest.substr(position, end == std::string_view::npos ? end : end - position));
  if (field.empty() || field.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  return std::atoi(field.c_str());
}

std::vector<int> descendantsOf(int root, const std::vector<std::pair<int, int>>& processParents) {
  std::vector<int> found;
  std::set<int> seen{root};  // a table read while processes come and go may hold a cycle
  std::vector<int> frontier{root};
  while (!frontier.empty()) {
    std::vector<int> next;
    for (int parent : frontier) {
      for (const auto& [process, processParent] : processParents) {
        if (processParent == parent && seen.insert(process).second) next.push_back(process);
      }
    }
    found.insert(found.end(), next.begin(), next.end());
    frontier = std::move(next);
  }
  return found;
}

}  // namespace vanalyzer
