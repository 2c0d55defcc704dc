#include "analysis/accounting_settings.h"

#include "analyzer/run_settings.h"
#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::analysis {
namespace {

using host::LogLevel;

// True when the variable holds the integer 1; an unset or malformed value logs `failure`.
bool switchedOn(const char* variable, const char* failure) {
  bool on = false;
  auto logFailure = [&] { host::log(LogLevel::Warring, failure); };
  python::guard(
      [&] {
        python::Ref value = environmentInteger(variable);
        if (!value) return logFailure();
        on = python::equal(value.get(), python::integer(1).get());
      },
      [&](const python::CaughtError&) { logFailure(); });
  return on;
}

bool customisationIs(const Analyzer& analyzer, int number) {
  return python::equal(analyzer.get("Customz").get(), python::integer(number).get());
}

}  // namespace

AccountingSettings readAccountingSettings(const Analyzer& analyzer) {
  AccountingSettings settings;
  settings.redshiftBinaries = switchedOn("PELKRS", "Cannot Found RSTEXBIN INI,SKIP RSTEXBIN");
  settings.arnoldTx = switchedOn("PELKTX", "Default Arnold Tx Mode is 0");
  python::Ref skipPathSetting = readSkipPathSetting();
  // Customer Quorin always ships Arnold's converted textures.
  if (customisationIs(analyzer, 4)) settings.arnoldTx = true;
  if (settings.redshiftBinaries) host::log(LogLevel::Info, "Rstexbin is set to 1, Getting Rstexbin.");
  if (settings.arnoldTx) host::log(LogLevel::Info, "tx is set to 1, Getting tx.");
  settings.skipPaths = SkipPaths::prepare(skipPathSetting);
  return settings;
}

}  // namespace vanalyzer::analysis
