#include "inspection/machine_verdict.h"

#include <algorithm>
#include <array>

namespace vanalyzer::inspection {
namespace {

constexpr std::array<std::string_view, 7> kPureCpuRenderers = {
    "mayaSoftware", "mayaHardware", "mayaHardware2", "mayaVector", "turtle", "renderMan", "mentalRay"};

MachineVerdict arnoldVerdict(const RendererFacts& facts, MachineKind machine) {
  MachineVerdict verdict;
  if (facts.beautyDenoiser && machine == MachineKind::Cpu) verdict = {2, 10004, false};
  if (!facts.beautyDenoiser && machine == MachineKind::Gpu) verdict = {1, 10005, false};
  // Denoised AOVs outweigh the beauty pass's setting.
  if (facts.aovDenoiser) verdict = machine == MachineKind::Cpu ? MachineVerdict{2, 10006, true}
                                                               : MachineVerdict{1, 10007, false};
  return verdict;
}

MachineVerdict vrayVerdict(VRayEngine engine, MachineKind machine) {
  if (engine != VRayEngine::Cpu) {
    // An engine without a name is a GPU engine too, and is reported with its code like the others.
    if (machine == MachineKind::Cpu) return {2, 10008, true};
    return {};
  }
  if (machine == MachineKind::Gpu) return {1, 10005, false};
  return {};
}

}  // namespace

MachineKind machineKind(std::string_view machineType) {
  if (machineType == "startCpu") return MachineKind::Cpu;
  if (machineType == "startGpu") return MachineKind::Gpu;
  return MachineKind::Other;
}

Renderer classifyRenderer(std::string_view name) {
  if (std::find(kPureCpuRenderers.begin(), kPureCpuRenderers.end(), name) != kPureCpuRenderers.end()) {
    return Renderer::PureCpu;
  }
  if (name == "arnold") return Renderer::Arnold;
  if (name == "vray") return Renderer::VRay;
  if (name == "redshift") return Renderer::PureGpu;
  return Renderer::Unclassified;
}

const char* vrayEngineName(VRayEngine engine) {
  switch (engine) {
    case VRayEngine::OpenCL: return "OpenCL";
    case VRayEngine::Cuda: return "CUDA";
    case VRayEngine::Cpu:
    case VRayEngine::Unnamed: break;
  }
  return nullptr;
}

MachineVerdict decideMachineVerdict(const RendererFacts& facts, MachineKind machine) {
  switch (facts.renderer) {
    case Renderer::PureCpu:
      if (machine != MachineKind::Cpu) return {1, 10005, false};
      return {};
    case Renderer::Arnold: return arnoldVerdict(facts, machine);
    case Renderer::VRay: return vrayVerdict(facts.engine, machine);
    case Renderer::PureGpu:
      if (machine == MachineKind::Cpu) return {2, 10009, false};
      return {};
    case Renderer::Unclassified: break;
  }
  return {};
}

}  // namespace vanalyzer::inspection
