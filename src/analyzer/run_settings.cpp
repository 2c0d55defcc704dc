#include "analyzer/run_settings.h"

#include "analyzer/setting_integer.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer {

using host::LogLevel;

python::Ref environmentValue(const char* name) {
  python::Ref environ = python::attribute(host::moduleGlobal("os").get(), "environ");
  python::Ref value = python::callMethod(environ.get(), "get", python::text(name));
  return value.get() == Py_None ? python::Ref() : value;
}

python::Ref environmentInteger(const char* name) {
  python::Ref value = environmentValue(name);
  if (!value) return {};
  const auto parsed = parseSettingInteger(python::utf8(value.get()));
  if (!parsed) return {};
  return python::integerFromDecimal(parsed->decimal());
}

namespace {

// Runs one setting's block; a missing or malformed value, or any failure inside, logs `failure`.
template <class Apply>
void settingBlock(LogLevel failureLevel, const char* failure, Apply&& apply) {
  python::guard(
      [&] {
        if (!apply()) log(failureLevel, failure);
      },
      [&](const python::CaughtError&) { log(failureLevel, failure); });
}

}  // namespace

void readRunSettings(const Analyzer& analyzer) {
  python::Ref vfile = host::vfile();

  settingBlock(LogLevel::Debug, "Get Ini Ass Mode Error, Default is 0.", [&] {
    python::Ref mode = environmentInteger("PELKASSMODE");
    if (!mode) return false;
    python::setAttribute(vfile.get(), "assMode", mode);
    host::logFormat(LogLevel::Debug, "AssMode is set to: %d.", python::attribute(vfile.get(), "assMode"));
    return true;
  });

  settingBlock(LogLevel::Debug, "Get Ini Seek Ass Mode Error, Default is 0.", [&] {
    python::Ref seekAll = environmentInteger("PLEKSEEKALLASS");
    if (!seekAll) return false;
    python::setAttribute(vfile.get(), "SeekAllAss", seekAll);
    return true;
  });

  settingBlock(LogLevel::Debug, "Get Ini maxPoolSize Error, Default is 1.", [&] {
    python::Ref text = environmentValue("PELKTHREADS");
    const auto poolSize = text ? parseSettingInteger(python::utf8(text.get())) : std::nullopt;
    if (!poolSize) return false;
    const ThreadCountSetting decision = decideThreadCount(*poolSize);
    python::setAttribute(vfile.get(), "maxPoolSize", python::integerFromDecimal(poolSize->decimal()));
    if (decision.enablesMultiThreading) python::setAttribute(vfile.get(), "mulitThreads", python::integer(1));
    if (decision.capped) python::setAttribute(vfile.get(), "maxPoolSize", python::integer(32));
    host::logFormat(LogLevel::Debug, "maxPoolSize is set to: %d.", python::attribute(vfile.get(), "maxPoolSize"));
    return true;
  });

  settingBlock(LogLevel::Warring, "Get Ini Customzation Error.", [&] {
    python::Ref customisation = environmentInteger("PELKCUS");
    if (!customisation) return false;
    analyzer.set("Customz", customisation);
    host::logFormat(LogLevel::Info, "Vantor Customzition is set to: %s", analyzer.get("Customz"));
    return true;
  });

  settingBlock(LogLevel::Error, "Cannot Get MachineType.", [&] {
    python::Ref machineType = environmentValue("MachineType");
    if (!machineType) return false;
    analyzer.set("MachineType", machineType);
    host::logFormat(LogLevel::Info, "Get Machine Type %s.", machineType);
    return true;
  });
}

}  // namespace vanalyzer
