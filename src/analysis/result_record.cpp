#include "analysis/result_record.h"

#include "host/host_commands.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "host/standard_output.h"
#include "python/caught_error.h"

namespace vanalyzer::analysis {
namespace {

python::Ref buildRecord(const Analyzer& analyzer, const AnalysisOutcome& outcome) {
  python::Ref custom = python::newDict();
  python::setItem(custom.get(), "prepare", python::text("").get());
  python::setItem(custom.get(), "filePrefix", outcome.filePrefix.get());
  python::setItem(custom.get(), "melString", analyzer.get("melString").get());

  python::Ref model = python::newDict();
  python::setItem(model.get(), "ext", outcome.outputExtension.get());
  python::setItem(model.get(), "parts", analyzer.get("LayersInfo").get());
  python::setItem(model.get(), "scenePath", analyzer.get("sceneName").get());
  python::setItem(model.get(), "needSplit", python::integer(0).get());
  python::setItem(model.get(), "envVars", analyzer.get("env").get());
  python::setItem(model.get(), "custom", custom.get());
  python::setItem(model.get(), "allCameras", analyzer.get("allCamerasInfo").get());

  python::Ref record = python::newDict();
  python::setItem(record.get(), "status", analyzer.get("status").get());
  python::setItem(record.get(), "msg", analyzer.get("errors").get());
  python::setItem(record.get(), "files", python::listOf(outcome.accountedFiles.get()).get());
  python::setItem(record.get(), "AnalyzerVersion", analyzer.get("CurrentScriptsVersion").get());
  python::setItem(record.get(), "model", model.get());
  return record;
}

void unloadPlugins() {
  python::guard(
      [] {
        for (const char* plugin : {"magicAssetNode.py", "AbcImportAB"}) {
          host::hostCommand("unloadPlugin", {python::text(plugin).get()}, {{"force", Py_True}});
        }
      },
      [](const python::CaughtError&) { host::printLine("Unload Plugin Fait"); });
}

}  // namespace

python::Ref finishAnalysis(const Analyzer& analyzer, const AnalysisOutcome& outcome) {
  python::Ref record = buildRecord(analyzer, outcome);
  // json.dumps with its defaults: pure ASCII with \u escapes, ", " and ": " separators.
  python::Ref serialised = python::callMethod(host::moduleGlobal("json").get(), "dumps", record);
  host::log(host::LogLevel::Info, "Vantor Analyzer Ended.");
  unloadPlugins();
  return serialised;
}

}  // namespace vanalyzer::analysis
