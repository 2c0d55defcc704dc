// Whether a renderer suits the kind of machine (CPU or GPU) that the service started.
#pragma once

#include <string_view>

namespace vanalyzer::inspection {

enum class MachineKind { Cpu, Gpu, Other };
// "startCpu" and "startGpu", exactly; any other text (including "UnKnown") is neither.
MachineKind machineKind(std::string_view machineType);

enum class Renderer { PureCpu, Arnold, VRay, PureGpu, Unclassified };
// Names as the host reports them, compared exactly (letter case included).
Renderer classifyRenderer(std::string_view name);

// VRay's production engine: 0 renders on the CPU, 1 and 2 on the GPU; any other number is a GPU
// engine without a name.
enum class VRayEngine { Cpu, OpenCL, Cuda, Unnamed };
// "OpenCL", "CUDA", or nullptr for an engine without a name.
const char* vrayEngineName(VRayEngine engine);

// What the host said about the scene's renderer; only the fields of its renderer are read.
struct RendererFacts {
  Renderer renderer = Renderer::Unclassified;
  bool beautyDenoiser = false;  // Arnold: the beauty pass's Optix denoiser is on
  bool aovDenoiser = false;     // Arnold: at least one AOV has its denoiser on
  VRayEngine engine = VRayEngine::Cpu;
};

constexpr int kNoErrorCode = 0;

struct MachineVerdict {
  int status = 0;              // 0 suitable, 1 warning, 2 error
  int errorCode = kNoErrorCode;
  // The verdict names its cause in an Info line: the denoised AOVs, or the VRay GPU engine.
  bool reportsCause = false;

  bool operator==(const MachineVerdict& other) const {
    return status == other.status && errorCode == other.errorCode && reportsCause == other.reportsCause;
  }
};

MachineVerdict decideMachineVerdict(const RendererFacts& facts, MachineKind machine);

}  // namespace vanalyzer::inspection
