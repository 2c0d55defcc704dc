#include "inspection/machine_verdict.h"

#include <gtest/gtest.h>

#include <string>

namespace vanalyzer::inspection {
namespace {

TEST(MachineKindTest, OnlyTheTwoExactNames) {
  EXPECT_EQ(machineKind("startCpu"), MachineKind::Cpu);
  EXPECT_EQ(machineKind("startGpu"), MachineKind::Gpu);
  for (const char* other : {"UnKnown", "startcpu", "StartGpu", "startCpu ", "", "cpu"}) {
    EXPECT_EQ(machineKind(other), MachineKind::Other) << other;
  }
}

TEST(ClassifyRenderer, ExactNamesOnly) {
  const std::vector<std::pair<std::string, Renderer>> cases = {
      {"mayaSoftware", Renderer::PureCpu}, {"mayaHardware", Renderer::PureCpu},
      {"mayaHardware2", Renderer::PureCpu}, {"mayaVector", Renderer::PureCpu},
      {"turtle", Renderer::PureCpu},       {"renderMan", Renderer::PureCpu},
      {"mentalRay", Renderer::PureCpu},    {"arnold", Renderer::Arnold},
      {"vray", Renderer::VRay},            {"redshift", Renderer::PureGpu},
      {"", Renderer::Unclassified},        {"Arnold", Renderer::Unclassified},
      {"VRay", Renderer::Unclassified},    {"Redshift", Renderer::Unclassified},
      {"mayasoftware", Renderer::Unclassified}, {"renderman", Renderer::Unclassified},
      {"mayaHardware3", Renderer::Unclassified}, {"cycles", Renderer::Unclassified},
  };
  for (const auto& [name, renderer] : cases) EXPECT_EQ(classifyRenderer(name), renderer) << name;
}

TEST(VRayEngineName, NamedGpuEngines) {
  EXPECT_STREQ(vrayEngineName(VRayEngine::OpenCL), "OpenCL");
  EXPECT_STREQ(vrayEngineName(VRayEngine::Cuda), "CUDA");
  EXPECT_EQ(vrayEngineName(VRayEngine::Unnamed), nullptr);
}

struct VerdictCase {
  const char* row;
  RendererFacts facts;
  MachineKind machine;
  MachineVerdict verdict;
};

void PrintTo(const VerdictCase& c, std::ostream* out) { *out << c.row; }

RendererFacts renderer(Renderer kind) { return {kind, false, false, VRayEngine::Cpu}; }
RendererFacts arnold(bool beauty, bool aovs) { return {Renderer::Arnold, beauty, aovs, VRayEngine::Cpu}; }
RendererFacts vray(VRayEngine engine) { return {Renderer::VRay, false, false, engine}; }

constexpr MachineKind kCpu = MachineKind::Cpu;
constexpr MachineKind kGpu = MachineKind::Gpu;
constexpr MachineKind kOther = MachineKind::Other;
const MachineVerdict kSuitable{0, kNoErrorCode, false};

class MachineVerdictTable : public testing::TestWithParam<VerdictCase> {};

TEST_P(MachineVerdictTable, Row) {
  EXPECT_EQ(decideMachineVerdict(GetParam().facts, GetParam().machine), GetParam().verdict) << GetParam().row;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MachineVerdictTable,
    testing::Values(
        // CPU-only renderers warn on anything but a CPU machine.
        VerdictCase{"cpu-only on cpu", renderer(Renderer::PureCpu), kCpu, kSuitable},
        VerdictCase{"cpu-only on gpu", renderer(Renderer::PureCpu), kGpu, {1, 10005, false}},
        VerdictCase{"cpu-only on other", renderer(Renderer::PureCpu), kOther, {1, 10005, false}},
        // Arnold's beauty denoiser.
        VerdictCase{"arnold beauty on, cpu", arnold(true, false), kCpu, {2, 10004, false}},
        VerdictCase{"arnold beauty on, gpu", arnold(true, false), kGpu, kSuitable},
        VerdictCase{"arnold beauty on, other", arnold(true, false), kOther, kSuitable},
        VerdictCase{"arnold beauty off, gpu", arnold(false, false), kGpu, {1, 10005, false}},
        VerdictCase{"arnold beauty off, cpu", arnold(false, false), kCpu, kSuitable},
        VerdictCase{"arnold beauty off, other", arnold(false, false), kOther, kSuitable},
        // A denoised AOV overrides the beauty rows.
        VerdictCase{"arnold aov, cpu", arnold(false, true), kCpu, {2, 10006, true}},
        VerdictCase{"arnold aov and beauty, cpu", arnold(true, true), kCpu, {2, 10006, true}},
        VerdictCase{"arnold aov, gpu", arnold(false, true), kGpu, {1, 10007, false}},
        VerdictCase{"arnold aov and beauty, gpu", arnold(true, true), kGpu, {1, 10007, false}},
        VerdictCase{"arnold aov, other", arnold(false, true), kOther, {1, 10007, false}},
        // VRay's production engine.
        VerdictCase{"vray opencl, cpu", vray(VRayEngine::OpenCL), kCpu, {2, 10008, true}},
        VerdictCase{"vray cuda, cpu", vray(VRayEngine::Cuda), kCpu, {2, 10008, true}},
        VerdictCase{"vray unnamed engine, cpu", vray(VRayEngine::Unnamed), kCpu, {2, 10008, true}},
        VerdictCase{"vray opencl, gpu", vray(VRayEngine::OpenCL), kGpu, kSuitable},
        VerdictCase{"vray cuda, other", vray(VRayEngine::Cuda), kOther, kSuitable},
        VerdictCase{"vray unnamed engine, gpu", vray(VRayEngine::Unnamed), kGpu, kSuitable},
        VerdictCase{"vray cpu, gpu", vray(VRayEngine::Cpu), kGpu, {1, 10005, false}},
        VerdictCase{"vray cpu, cpu", vray(VRayEngine::Cpu), kCpu, kSuitable},
        VerdictCase{"vray cpu, other", vray(VRayEngine::Cpu), kOther, kSuitable},
        // Redshift needs a GPU.
        VerdictCase{"redshift, cpu", renderer(Renderer::PureGpu), kCpu, {2, 10009, false}},
        VerdictCase{"redshift, gpu", renderer(Renderer::PureGpu), kGpu, kSuitable},
        VerdictCase{"redshift, other", renderer(Renderer::PureGpu), kOther, kSuitable},
        // Anything else gets no verdict.
        VerdictCase{"unclassified, cpu", renderer(Renderer::Unclassified), kCpu, kSuitable},
        VerdictCase{"unclassified, gpu", renderer(Renderer::Unclassified), kGpu, kSuitable},
        VerdictCase{"unclassified, other", renderer(Renderer::Unclassified), kOther, kSuitable}));

}  // namespace
}  // namespace vanalyzer::inspection
