// Older VRay versions on machines with many cores: the decision on the two environment texts.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "analyzer/setting_integer.h"

namespace vanalyzer::inspection {

struct PluginEntry {
  std::string_view name;
  std::string_view version;
};

// The entries of a plug-in text "name|version||name|version...", in order. Only the first two
// "|"-separated fields of an entry count; an entry without "|" (an empty one from a leading,
// trailing or doubled "||" too) names no version and is left out.
std::vector<PluginEntry> pluginEntries(std::string_view pluginText);

// A VRay plug-in older than 3.80.00. Versions compare as plain text, the way the service writes them.
bool isOldVRay(const PluginEntry& entry);

// The core count of a machine description such as "cpu_32c128g": the second "_" field, up to its
// first "c" (either case). Empty when there is no second field or no number there.
std::optional<SettingInteger> machineCoreCount(std::string_view machineText);

struct VRayMachineAnswer {
  std::vector<std::string_view> reportedVersions;  // old VRay versions, in the order they are logged
  bool oldVRayOnManyCores = false;
};

// True when the first old VRay entry meets a machine with 30 or more cores. After an old entry on
// a smaller machine, the next old entry is reported and ends the comparison.
VRayMachineAnswer compareVRayWithMachine(std::string_view pluginText, std::string_view machineText);

}  // namespace vanalyzer::inspection
