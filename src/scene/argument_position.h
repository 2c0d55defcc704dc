// Where the scene path stands in the process arguments when the open scene has no name.
#pragma once

#include <cstddef>
#include <optional>

namespace vanalyzer::scene {

// Linux batch starts put the scene at entry 5 of a long argument list and at entry 3 of a short
// one (entry 0 is the program); a list of exactly eight entries names no scene.
std::optional<std::size_t> linuxSceneArgumentIndex(std::size_t argumentCount);

// Windows starts always put it at entry 4.
constexpr std::size_t kWindowsSceneArgumentIndex = 4;

}  // namespace vanalyzer::scene
