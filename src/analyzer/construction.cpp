#include "analyzer/construction.h"

#include "analysis/error_catalogue.h"
#include "analyzer/analyzer.h"
#include "analyzer/call_arguments.h"
#include "analyzer/run_settings.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "host/standard_output.h"
#include "python/caught_error.h"

namespace vanalyzer {
namespace {

using host::LogLevel;

constexpr const char* kBanner =
    "<------------------------------VANTOR-START-ANALYZER------------------------------>";
constexpr const char* kAnalyzerVersion = "1.5.9";

// The customer's output-prefix fixer, when the service installs one; any failure falls back to "".
void customiseOutputPrefix(const Analyzer& analyzer) {
  python::guard(
      [&] {
        python::Ref customisation = python::importModule("vCus");
        python::Ref fixer = python::callMethod(customisation.get(), "FixOutPrefix", analyzer.get("preFix"),
                                               analyzer.get("sceneName"));
        python::callMethod(fixer.get(), "modifyOutPut");
        analyzer.set("preFix", python::attribute(fixer.get(), "prefix"));
      },
      [&](const python::CaughtError&) {
        analyzer.set("preFix", python::text(""));
        host::logFormat(LogLevel::Warring, "Prefix fix failed, Use defalut:%s.", analyzer.get("preFix"));
      });
}

}  // namespace

python::Ref constructAnalyzer(PyObject* self, PyObject* positional, PyObject* keywords) {
  const std::vector<python::Ref> arguments =
      bindArguments({"__init__", {"analyzerMode", "GetRSCache", "sceneName"}, 1, 1}, positional, keywords);
  const python::Ref& analyzerMode = arguments[0];
  const python::Ref getRSCache = arguments[1] ? arguments[1] : python::integer(0);
  const python::Ref sceneName = arguments[2] ? arguments[2] : python::text("");
  const Analyzer analyzer(self);

  host::printLine(kBanner);
  host::log(LogLevel::Info, "Pelk Loaded.");
  analyzer.set("CurrentScriptsVersion", python::text(kAnalyzerVersion));
  host::log(LogLevel::Info,
            python::concatenate(python::text("Pelk Version: ").get(), analyzer.get("CurrentScriptsVersion").get()));
  analyzer.set("files", python::require(PySet_New(nullptr)));
  analyzer.set("missingFiles", python::require(PySet_New(nullptr)));
  analyzer.set("status", python::integer(0));
  analyzer.set("details", python::text(""));
  analyzer.set("GetRSCache", getRSCache);
  analyzer.set("Customz", python::integer(0));
  analyzer.set("melString", python::text(""));
  analyzer.set("MachineType", python::text("UnKnown"));
  analyzer.set("env", python::callMethod(host::vfile().get(), "getEnvDict", analyzer.get("GetRSCache")));

  if (!analysis::loadErrorCatalogue(analyzer)) return python::Ref::borrow(Py_None);

  readRunSettings(analyzer);
  analyzer.call("initSceneAssemblyPlugins");
  analyzer.set("platform", analyzer.call("checkPlatform"));
  analyzer.set("sceneName", analyzer.call("getSceneName", analyzerMode, sceneName));
  analyzer.set("LayersInfo", analyzer.call("getLayersInfo"));
  analyzer.call("checkScene");
  analyzer.set("preFix", analyzer.call("get_PreFix"));
  customiseOutputPrefix(analyzer);
  analyzer.set("allCamerasInfo", analyzer.call("getAllCamInScene"));
  analyzer.set("finalResult", analyzer.call("AnlyzerSenceFile"));
  return python::Ref::borrow(Py_None);
}

}  // namespace vanalyzer
