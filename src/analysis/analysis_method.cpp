#include "analysis/analysis_method.h"

#include "analysis/accounting_settings.h"
#include "analysis/asset_collection.h"
#include "analysis/customisations.h"
#include "analysis/error_messages.h"
#include "analysis/file_accounting.h"
#include "analysis/missing_files.h"
#include "analysis/output_settings.h"
#include "analysis/result_record.h"
#include "analysis/scene_path.h"
#include "analysis/xgen_check.h"
#include "analyzer/status_rule.h"
#include "host/service.h"

namespace vanalyzer::analysis {

using host::LogLevel;

python::Ref AnlyzerSenceFile(PyObject* self) {
  const Analyzer analyzer(self);
  python::Ref accountedFiles = python::require(PySet_New(nullptr));
  python::Ref missingFiles = python::unicodeText("");

  const python::Ref status = analyzer.get("status");
  if (python::equal(status.get(), python::integer(kStatusError).get())) {
    // A scene that cannot be analysed further: no assets, no missing files, no XGen check.
    host::logFormat(LogLevel::Error, "Skip Analyzer Assets: Status is %s.", status);
  } else {
    host::logFormat(LogLevel::Info, "Scene Status is %s.", status);
    collectAssets(analyzer);
    readEvaluationMode(analyzer);
    const AccountingSettings settings = readAccountingSettings(analyzer);
    resolveScenePath(analyzer);
    accountedFiles = accountSceneFiles(analyzer, settings);
    dropEmptyMissingFile(analyzer);
    logPluginsInUse();
    logMissingFileCount(analyzer);
    raiseMissingFiles(analyzer);
    missingFiles = missingFilesText(analyzer);
    checkXgenDescriptions(analyzer);
  }

  raiseVRayCode(analyzer);
  expandErrorCodes(analyzer, missingFiles);
  python::Ref extension = outputExtension(analyzer);
  python::Ref prefix = applyCustomisations(analyzer, commonLayerPrefix(analyzer));
  return finishAnalysis(analyzer, {accountedFiles, extension, prefix});
}

}  // namespace vanalyzer::analysis
