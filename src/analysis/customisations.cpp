#include "analysis/customisations.h"

#include "host/service.h"

namespace vanalyzer::analysis {

using host::LogLevel;

python::Ref applyCustomisations(const Analyzer& analyzer, const python::Ref& layerPrefix) {
  python::Ref prefix = layerPrefix;
  const python::Ref customisation = analyzer.get("Customz");
  if (python::equal(customisation.get(), python::integer(2).get())) {
    host::log(LogLevel::Debug, "tamsel custom");
    python::Ref module = python::importModule("vCus");
    python::Ref tamsel = python::callMethod(module.get(), "Tamsel");
    prefix = python::callMethod(tamsel.get(), "modifyFileLayerPrefix");
    host::logFormat(LogLevel::Debug, "tamsel custom %s", prefix);
  }
  if (python::equal(customisation.get(), python::integer(4).get())) {
    python::importModule("vCus");
    host::log(LogLevel::Debug, "PELKCUS 4 custom");
    const python::Ref addedEnvironment = python::text("PELKCUS=4");
    python::append(analyzer.get("env").get(), addedEnvironment.get());
    host::logFormat(LogLevel::Debug, "Quorin add env:%s", addedEnvironment);
    host::logFormat(LogLevel::Debug, "Quorin custom %s", prefix);
  }
  return prefix;
}

}  // namespace vanalyzer::analysis
