#include "inspection/vray_comparison.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace vanalyzer::inspection {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(std::string_view pluginText) {
  Entries entries;
  for (const PluginEntry& entry : pluginEntries(pluginText)) {
    entries.emplace_back(std::string(entry.name), std::string(entry.version));
  }
  return entries;
}

TEST(PluginEntries, SplitsEntriesAndKeepsOnlyThoseWithAVersion) {
  const std::vector<std::pair<std::string, Entries>> cases = {
      {"vray|3.60.04", {{"vray", "3.60.04"}}},
      {"mtoa|4.0||vray|3.50.00", {{"mtoa", "4.0"}, {"vray", "3.50.00"}}},
      {"vray|3.60.04|extra|fields", {{"vray", "3.60.04"}}},
      {"vray|", {{"vray", ""}}},
      {"|3.1", {{"", "3.1"}}},
      // Entries without "|", empty ones from leading, trailing or doubled "||" among them.
      {"", {}},
      {"vray", {}},
      {"||vray|3.60.04", {{"vray", "3.60.04"}}},
      {"vray|3.60.04||", {{"vray", "3.60.04"}}},
      {"a|1||||b|2", {{"a", "1"}, {"b", "2"}}},
      {"vray||mtoa|4.0", {{"mtoa", "4.0"}}},
      // Three bars split as "||" then "|": the second entry is "|b".
      {"a|1|||b", {{"a", "1"}, {"", "b"}}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(entriesOf(text), expected) << text;
}

TEST(OldVRay, ComparesVersionsAsText) {
  const std::vector<std::tuple<std::string, std::string, bool>> cases = {
      {"vray", "3.60.04", true},   {"vray", "3.80.00", false}, {"vray", "3.80.01", false},
      {"vray", "4.00.00", false},  {"vray", "10.00.00", true}, {"vray", "3.8", true},
      {"vray", "", true},          {"vrayformaya", "3.10.00", true}, {"VRay", "3.10.00", false},
      {"mtoa", "1.0", false},      {"vray", "3.80.00a", false}, {"vray", "\xc3\xa9", false},
  };
  for (const auto& [name, version, old] : cases) {
    EXPECT_EQ(isOldVRay({name, version}), old) << name << "|" << version;
  }
}

TEST(MachineCoreCount, ReadsTheSecondFieldUpToTheLetterC) {
  const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
      {"cpu_32c128g", "32"}, {"CPU_40C", "40"},   {"cpu_16c", "16"},  {"gpu_8c_x_y", "8"},
      {"cpu_ 36 c", "36"},   {"cpu_032c", "32"},  {"cpu_48", "48"},   {"cpu_-40c", "-40"},
      {"cpu", std::nullopt}, {"cpu_", std::nullopt}, {"cpu_c32", std::nullopt},
      {"cpu_x32c", std::nullopt}, {"None", std::nullopt}, {"_32c", "32"},
  };
  for (const auto& [machine, cores] : cases) {
    const auto count = machineCoreCount(machine);
    EXPECT_EQ(count ? std::optional<std::string>(count->decimal()) : std::nullopt, cores) << machine;
  }
}

struct ComparisonCase {
  const char* plugins;
  const char* machine;
  std::vector<std::string_view> reported;
  bool result;
};

void PrintTo(const ComparisonCase& c, std::ostream* out) { *out << c.plugins << " on " << c.machine; }

class VRayMachineComparison : public testing::TestWithParam<ComparisonCase> {};

TEST_P(VRayMachineComparison, AnswersAndReportsVersions) {
  const ComparisonCase& c = GetParam();
  const VRayMachineAnswer answer = compareVRayWithMachine(c.plugins, c.machine);
  EXPECT_EQ(answer.reportedVersions, c.reported);
  EXPECT_EQ(answer.oldVRayOnManyCores, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VRayMachineComparison,
    testing::Values(
        ComparisonCase{"vray|3.60.04", "cpu_32c", {"3.60.04"}, true},
        ComparisonCase{"vray|3.60.04", "cpu_30c", {"3.60.04"}, true},
        ComparisonCase{"vray|3.60.04", "cpu_29c", {"3.60.04"}, false},
        ComparisonCase{"vray|3.60.04", "cpu_16c", {"3.60.04"}, false},
        ComparisonCase{"vray|3.80.00", "cpu_64c", {}, false},
        ComparisonCase{"vray|4.00.00", "cpu_64c", {}, false},
        ComparisonCase{"vray|3.60.04", "cpu", {"3.60.04"}, false},
        ComparisonCase{"vray|3.60.04", "CPU_40C", {"3.60.04"}, true},
        ComparisonCase{"vray|3.60.04", "cpu_abc", {"3.60.04"}, false},
        ComparisonCase{"None", "None", {}, false},
        ComparisonCase{"mtoa|4.0.0", "cpu_64c", {}, false},
        ComparisonCase{"mtoa|4.0.0||vray|3.50.00", "cpu_32c", {"3.50.00"}, true},
        // After an old entry on a small machine the next old entry is reported and ends it.
        ComparisonCase{"vray|3.50.00||vray|3.60.00||vray|3.70.00", "cpu_16c", {"3.50.00", "3.60.00"}, false},
        ComparisonCase{"vray|3.50.00||vray|4.00.00", "cpu_16c", {"3.50.00"}, false},
        // Entries that name no version are passed over instead of failing.
        ComparisonCase{"vray||vray|3.60.04", "cpu_32c", {"3.60.04"}, true},
        ComparisonCase{"||vray|3.60.04||", "cpu_32c", {"3.60.04"}, true},
        ComparisonCase{"vray", "cpu_32c", {}, false},
        ComparisonCase{"vray|3.60.04||||", "cpu_32c", {"3.60.04"}, true}));

}  // namespace
}  // namespace vanalyzer::inspection
