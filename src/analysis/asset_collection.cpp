#include "analysis/asset_collection.h"

#include "host/host_commands.h"
#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::analysis {

using host::LogLevel;

void collectAssets(const Analyzer& analyzer) {
  python::Ref vfile = host::vfile();
  const python::Ref groups[] = {
      python::callMethod(vfile.get(), "getAssets", analyzer.get("sceneName")),
      python::callMethod(vfile.get(), "getArnoldAssets"),
      python::callMethod(vfile.get(), "getRedShiftAssets", analyzer.get("GetRSCache")),
      python::callMethod(vfile.get(), "getVRayAssets"),
      python::callMethod(vfile.get(), "getRenerManAssets"),
  };
  for (const char* name : {"files", "missingFiles"}) {
    python::Ref merged = analyzer.get(name);
    bool madeHere = false;
    for (const python::Ref& group : groups) {
      const python::Ref part = python::attribute(group.get(), name);
      if (madeHere && Py_TYPE(merged.get()) == &PySet_Type) {
        // the set the first union made is held by no one else: the others join it in place, so a
        // scene's hundred thousand paths are not copied again for every renderer's group
        python::callMethod(merged.get(), "update", part);
      } else {
        merged = python::callMethod(merged.get(), "union", part);
        madeHere = true;
      }
    }
    analyzer.set(name, merged);
  }
}

void readEvaluationMode(const Analyzer& analyzer) {
  host::log(LogLevel::Debug, "Starting Get Evalution Mode.");
  python::guard(
      [&] {
        analyzer.set("melString", python::callMethod(host::vfile().get(), "getEvaluation"));
        host::logFormat(LogLevel::Debug, "melString content: \r\n%s\r\n\r\n", analyzer.get("melString"));
        host::log(LogLevel::Debug, "Ending Geration Mel.");
      },
      [&](const python::CaughtError& failure) {
        host::logFormat(LogLevel::Warring, "geration mel err:%s", failure.representation());
      });
}

void logPluginsInUse() {
  python::Ref pluginsInUse = host::hostCommand("pluginInfo", {}, {{"query", Py_True}, {"pluginsInUse", Py_True}});
  host::logFormat(LogLevel::Info, "Plugins in used:\"%s\".", pluginsInUse);
}

}  // namespace vanalyzer::analysis
