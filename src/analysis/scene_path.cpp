#include "analysis/scene_path.h"

#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::analysis {

using host::LogLevel;

void resolveScenePath(const Analyzer& analyzer) {
  python::Ref vutils = host::vutils();
  bool resolved = false;
  python::guard(
      [&] {
        python::Ref encoded = python::utf8ForLookup(analyzer.get("sceneName").get());
        if (python::length(encoded.get()) == 0) {
          host::log(LogLevel::Info, "utf-8 code err.");
          return;
        }
        analyzer.set("sceneName", python::callMethod(vutils.get(), "getRealDiskPath", encoded));
        host::logFormat(LogLevel::Info, "change1 scenePath to: %s", analyzer.get("sceneName"));
        resolved = true;
      },
      [](const python::CaughtError&) {});
  if (resolved) return;
  analyzer.set("sceneName", python::callMethod(vutils.get(), "getRealDiskPath", analyzer.get("sceneName")));
  host::logFormat(LogLevel::Info, "change2 scenePath to: %s", analyzer.get("sceneName"));
}

}  // namespace vanalyzer::analysis
