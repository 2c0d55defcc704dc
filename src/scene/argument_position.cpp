#include "scene/argument_position.h"

namespace vanalyzer::scene {

std::optional<std::size_t> linuxSceneArgumentIndex(std::size_t argumentCount) {
  if (argumentCount >= 9) return 5;
  if (argumentCount <= 7) return 3;
  return std::nullopt;
}

}  // namespace vanalyzer::scene
