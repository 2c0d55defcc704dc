#include "analysis/skip_path_rules.h"

namespace vanalyzer::analysis {

std::vector<std::string> skipPathPieces(std::string_view setting) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : setting) {
    if (c == ' ') continue;
    if (c == '|') {
      if (!piece.empty()) pieces.push_back(std::move(piece));
      piece.clear();
      continue;
    }
    piece += c;
  }
  if (!piece.empty()) pieces.push_back(std::move(piece));
  return pieces;
}

}  // namespace vanalyzer::analysis
