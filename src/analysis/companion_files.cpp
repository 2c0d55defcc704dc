#include "analysis/companion_files.h"

#include "analysis/companion_names.h"
#include "analysis/file_queries.h"
#include "host/service.h"
#include "python/objects.h"

namespace vanalyzer::analysis {
namespace {

void accountCompanion(AccountedFiles& accounted, const python::Ref& path, const char* suffix,
                      const python::Ref& getRealDiskPath) {
  python::guard(
      [&] {
        const std::string name = companionPath(python::pathText(path.get()), suffix, kNativePathFlavour);
        python::Ref companion = python::pathFromText(name, python::isUnicode(path.get()));
        if (!exists(companion.get())) return;
        accounted.accountCompanion(python::callWithOne(getRealDiskPath.get(), realPathOf(companion.get()).get()));
      },
      [&](const python::CaughtError& failure) {
        host::logFormat(host::LogLevel::Error, "Get companion file err:%s", failure.representation());
      });
}

}  // namespace

void accountCompanions(AccountedFiles& accounted, const python::Ref& path, const AccountingSettings& settings,
                       const python::Ref& getRealDiskPath) {
  if (settings.redshiftBinaries) accountCompanion(accounted, path, ".rstexbin", getRealDiskPath);
  if (settings.arnoldTx) accountCompanion(accounted, path, ".tx", getRealDiskPath);
}

}  // namespace vanalyzer::analysis
