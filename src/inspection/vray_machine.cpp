#include "inspection/vray_machine.h"

#include "host/module_globals.h"
#include "host/service.h"
#include "inspection/vray_comparison.h"

namespace vanalyzer::inspection {
namespace {

// The variable as text; an unset one reads "None", as the absent value turned into text does.
python::Ref environmentText(const char* name) {
  python::Ref environ = python::attribute(host::moduleGlobal("os").get(), "environ");
  return python::str(python::callMethod(environ.get(), "get", python::text(name)).get());
}

}  // namespace

python::Ref compareVRayMachine(PyObject*) {
  using host::LogLevel;
  python::Ref plugins = environmentText("pelk_Plugins");
  python::Ref machine = environmentText("pelk_Machine");
  host::logFormat(LogLevel::Info, "recive pelk_Plugins env:%s", plugins);
  host::logFormat(LogLevel::Info, "recive pelk_Machine env:%s", machine);

  const std::string pluginText = python::utf8IfText(plugins.get()).value_or(std::string());
  const std::string machineText = python::utf8IfText(machine.get()).value_or(std::string());
  const VRayMachineAnswer answer = compareVRayWithMachine(pluginText, machineText);
  for (std::string_view version : answer.reportedVersions) {
    host::logFormat(LogLevel::Info, "vray version %s is lower than 3.80.00", python::pathFromText(version, python::isUnicode(plugins.get())));
  }
  return python::boolean(answer.oldVRayOnManyCores);
}

}  // namespace vanalyzer::inspection
