#include "inspection/scene_checks.h"

#include <optional>
#include <string>

#include "analyzer/analyzer.h"
#include "analyzer/status_rule.h"
#include "host/host_commands.h"
#include "host/service.h"
#include "inspection/script_signature.h"
#include "python/caught_error.h"

namespace vanalyzer::inspection {
namespace {

using host::LogLevel;

bool sceneFileFound(PyObject* sceneName) {
  // An unresolved name is not asked about: the host has no answer for a missing path.
  if (sceneName == Py_None || python::equal(sceneName, python::text("").get())) return false;
  python::Ref exists =
      host::hostCommand("file", {sceneName}, {{"q", python::integer(1).get()}, {"ex", python::integer(1).get()}});
  return python::isTrue(exists.get());
}

// The names of the layers without a camera, in LayersInfo order.
python::Ref layersWithoutCamera(PyObject* layers) {
  python::Ref names = python::newList();
  python::forEach(layers, [&](const python::Ref& layer) {
    python::Ref cameras = python::item(layer.get(), python::text("cameras").get());
    if (python::length(cameras.get()) == 0) {
      python::append(names.get(), python::item(layer.get(), python::text("part").get()).get());
    }
  });
  return names;
}

// The text of the first script node that holds a malicious script. A node whose text cannot be
// read, or is not text, is passed over: it must not hide a malicious node after it.
python::Ref maliciousScript() {
  python::Ref found;
  python::Ref nodes = host::hostCommand("ls", {}, {{"type", python::text("script").get()}});
  python::forEach(nodes.get(), [&](const python::Ref& node) {
    if (found) return;
    python::guard(
        [&] {
          python::Ref path = python::concatenate(node.get(), python::text(".b").get());
          python::Ref script = host::hostCommand("getAttr", {path.get()});
          const std::optional<std::string> text = python::utf8IfText(script.get());
          if (text && hasMaliciousSignature(*text)) found = script;
        },
        [](const python::CaughtError&) {});
  });
  return found;
}

// Records the verdict of the machine check; true when it stops the checks.
bool recordMachineVerdict(const Analyzer& analyzer) {
  host::logFormat(LogLevel::Info, "Starting Check MachineType, Current MachineType is %s", analyzer.get("MachineType"));
  python::Ref verdict = analyzer.call("getMachineInfo");
  python::Ref status = python::item(verdict.get(), python::text("status").get());
  if (!python::less(python::integer(0).get(), status.get())) return false;
  analyzer.recordStatus(python::asInteger(status.get()));
  python::Ref code = python::item(verdict.get(), python::text("errCode").get());
  host::logFormat(LogLevel::Info, "machineType info : %s", verdict);
  analyzer.appendErrorCode(code);
  if (!python::equal(status.get(), python::integer(kStatusError).get()) ||
      python::equal(code.get(), python::text("").get())) {
    return false;
  }
  host::log(LogLevel::Info, "check renderer machine state wrong");
  host::log(LogLevel::Info, "check renderer machine state wrong");
  return true;
}

}  // namespace

python::Ref checkScene(PyObject* self) {
  const Analyzer analyzer(self);
  host::log(LogLevel::Info, "Start Check Scene File is available");

  python::Ref sceneName = analyzer.get("sceneName");
  if (!sceneFileFound(sceneName.get())) {
    analyzer.recordStatus(kStatusError);
    analyzer.appendErrorCode(10002);
    host::logFormat(LogLevel::Error, "Failed to find sence file: %s Scene file not found", sceneName);
    return python::boolean(false);
  }

  python::Ref layers = analyzer.get("LayersInfo");
  if (python::length(layers.get()) == 0) {
    analyzer.recordStatus(kStatusError);
    analyzer.appendErrorCode(10003);
    host::log(LogLevel::Error, "Cannot Find Any LayerInfo");
    return python::boolean(false);
  }

  python::Ref cameraless = layersWithoutCamera(layers.get());
  // Customisation 1 renders layers without a camera of their own.
  const bool reportCameraless = python::length(cameraless.get()) > 0 &&
                                !python::equal(analyzer.get("Customz").get(), python::integer(1).get());

  if (python::Ref script = maliciousScript()) {
    analyzer.recordStatus(kStatusError);
    analyzer.appendErrorCode(10019);
    host::logFormat(LogLevel::Error, "%s: has PuTianTongQing", script);
    return python::boolean(false);
  }

  if (!python::equal(analyzer.get("MachineType").get(), python::text("UnKnown").get()) &&
      recordMachineVerdict(analyzer)) {
    return python::boolean(false);
  }

  if (!python::isTrue(analyzer.call("isDefaultRenderLayer").get())) {
    analyzer.recordStatus(kStatusWarning);
    analyzer.appendErrorCode(10010);
    host::log(LogLevel::Warring, "Convert to MasterLayer Error");
  }

  if (reportCameraless) {
    analyzer.recordStatus(kStatusError);
    analyzer.appendErrorCode(10011);
    host::logFormat(LogLevel::Error, "Layers: %s has not set camera", cameraless);
    return python::boolean(false);
  }

  host::log(LogLevel::Info, "Scene Check Finish.");
  return python::boolean(true);
}

}  // namespace vanalyzer::inspection
