#include "inspection/machine_type.h"

#include "analyzer/analyzer.h"
#include "host/host_commands.h"
#include "host/service.h"
#include "inspection/machine_verdict.h"
#include "python/caught_error.h"

namespace vanalyzer::inspection {
namespace {

using host::LogLevel;

python::Ref getAttr(PyObject* path) { return host::hostCommand("getAttr", {path}); }
python::Ref getAttr(const char* path) { return getAttr(python::text(path).get()); }

python::Ref readRendererName() {
  python::Ref name = python::text("");
  python::guard([&] { name = getAttr("defaultRenderGlobals.currentRenderer"); },
                [](const python::CaughtError&) { host::log(LogLevel::Error, "Get Renderer Has Except."); });
  return name;
}

bool beautyDenoiserOn() {
  python::Ref denoise = python::boolean(false);
  python::guard([&] { denoise = getAttr("defaultArnoldRenderOptions.denoiseBeauty"); },
                [](const python::CaughtError&) { host::log(LogLevel::Warring, "Cannot get optix denosier."); });
  return python::isTrue(denoise.get());
}

// The names of the AOVs whose denoiser is on, each followed by ",". An AOV the host cannot
// answer for is left out.
python::Ref denoisedAovs() {
  python::Ref names = python::text("");
  python::Ref nodes = host::hostCommand("ls", {}, {{"type", python::text("aiAOV").get()}});
  python::forEach(nodes.get(), [&](const python::Ref& node) {
    python::guard(
        [&] {
          python::Ref denoise = getAttr(python::concatenate(node.get(), python::text(".denoise").get()).get());
          if (!python::equal(denoise.get(), Py_True)) return;
          python::Ref name = getAttr(python::concatenate(node.get(), python::text(".name").get()).get());
          names = python::concatenate(names.get(), python::concatenate(name.get(), python::text(",").get()).get());
        },
        [](const python::CaughtError&) {});
  });
  return names;
}

VRayEngine vrayEngine(PyObject* engine) {
  // Compared as Python compares numbers, so 1.0 or True name the same engine as 1.
  if (python::equal(engine, python::integer(0).get())) return VRayEngine::Cpu;
  if (python::equal(engine, python::integer(1).get())) return VRayEngine::OpenCL;
  if (python::equal(engine, python::integer(2).get())) return VRayEngine::Cuda;
  return VRayEngine::Unnamed;
}

// The record takes the status first, then the cause line is logged, then the code: a failing log
// inside the guarded VRay step leaves the status without its code, as the step was written.
void applyVerdict(PyObject* record, const MachineVerdict& verdict, const python::Ref& cause,
                  const char* causeFormat) {
  if (verdict.status == 0) return;
  python::setItem(record, "status", python::integer(verdict.status).get());
  if (verdict.reportsCause) host::logFormat(LogLevel::Info, causeFormat, cause);
  python::setItem(record, "errCode", python::integer(verdict.errorCode).get());
}

}  // namespace

python::Ref getMachineInfo(PyObject* self) {
  const Analyzer analyzer(self);
  python::Ref record = python::newDict();
  python::setItem(record.get(), "status", python::integer(0).get());
  python::setItem(record.get(), "errCode", python::text("").get());

  python::Ref rendererName = readRendererName();
  host::logFormat(LogLevel::Debug, "current Renderer Name is %s", rendererName);
  const auto name = python::utf8IfText(rendererName.get());
  const auto machineType = python::utf8IfText(analyzer.get("MachineType").get());
  const MachineKind machine = machineType ? machineKind(*machineType) : MachineKind::Other;

  RendererFacts facts;
  facts.renderer = name ? classifyRenderer(*name) : Renderer::Unclassified;
  switch (facts.renderer) {
    case Renderer::Arnold: {
      facts.beautyDenoiser = beautyDenoiserOn();
      python::Ref aovs = denoisedAovs();
      facts.aovDenoiser = python::isTrue(aovs.get());
      applyVerdict(record.get(), decideMachineVerdict(facts, machine), aovs, "arnold AOVs :%s has optix.");
      break;
    }
    case Renderer::VRay:
      python::guard(
          [&] {
            python::Ref engine = getAttr("vraySettings.productionEngine");
            facts.engine = vrayEngine(engine.get());
            const char* engineName = vrayEngineName(facts.engine);
            // An engine without a name is shown by its number.
            python::Ref shown = engineName ? python::text(engineName) : python::str(engine.get());
            applyVerdict(record.get(), decideMachineVerdict(facts, machine), shown, "vray render engine %s");
          },
          [](const python::CaughtError&) {});
      break;
    case Renderer::PureCpu:
    case Renderer::PureGpu:
    case Renderer::Unclassified:
      applyVerdict(record.get(), decideMachineVerdict(facts, machine), python::Ref(), "");
      break;
  }
  return record;
}

}  // namespace vanalyzer::inspection
