#include "inspection/vray_comparison.h"

#include <string>

namespace vanalyzer::inspection {
namespace {

constexpr std::string_view kVRay = "vray";
constexpr std::string_view kOldestCurrentVersion = "3.80.00";
constexpr unsigned long long kManyCores = 30;

// Python's str.split(separator) for one field: the text up to the separator, and the rest after it.
std::string_view takeField(std::string_view& text, std::string_view separator, bool& more) {
  const size_t end = text.find(separator);
  more = end != std::string_view::npos;
  const std::string_view field = text.substr(0, end);
  text = more ? text.substr(end + separator.size()) : std::string_view();
  return field;
}

}  // namespace

std::vector<PluginEntry> pluginEntries(std::string_view pluginText) {
  std::vector<PluginEntry> entries;
  bool moreEntries = true;
  while (moreEntries) {
    std::string_view entry = takeField(pluginText, "||", moreEntries);
    bool hasVersion = false;
    const std::string_view name = takeField(entry, "|", hasVersion);
    if (!hasVersion) continue;
    bool moreFields = false;
    entries.push_back({name, takeField(entry, "|", moreFields)});
  }
  return entries;
}

bool isOldVRay(const PluginEntry& entry) {
  return entry.name.find(kVRay) != std::string_view::npos && entry.version < kOldestCurrentVersion;
}

std::optional<SettingInteger> machineCoreCount(std::string_view machineText) {
  std::string lowered(machineText);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  std::string_view rest = lowered;
  bool hasSecondField = false;
  takeField(rest, "_", hasSecondField);
  if (!hasSecondField) return std::nullopt;
  bool more = false;
  std::string_view secondField = takeField(rest, "_", more);
  return parseSettingInteger(takeField(secondField, "c", more));
}

VRayMachineAnswer compareVRayWithMachine(std::string_view pluginText, std::string_view machineText) {
  VRayMachineAnswer answer;
  if (pluginText.find(kVRay) == std::string_view::npos) return answer;
  for (const PluginEntry& entry : pluginEntries(pluginText)) {
    if (!isOldVRay(entry)) continue;
    answer.reportedVersions.push_back(entry.version);
    if (answer.reportedVersions.size() > 1) return answer;
    const std::optional<SettingInteger> cores = machineCoreCount(machineText);
    if (!cores) return answer;
    if (!cores->negative && (cores->greaterThan(kManyCores - 1))) {
      answer.oldVRayOnManyCores = true;
      return answer;
    }
  }
  return answer;
}

}  // namespace vanalyzer::inspection
