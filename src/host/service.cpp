#include "host/service.h"

#include "host/module_globals.h"

namespace vanalyzer::host {
namespace {
const char* levelOperation(LogLevel level) {
  switch (level) {
    case LogLevel::Debug: return "Debug";
    case LogLevel::Info: return "Info";
    case LogLevel::Warring: return "Warring";
    case LogLevel::Error: return "Error";
  }
  return "Error";
}
}  // namespace

void log(LogLevel level, const python::Ref& message) {
  python::callMethod(vout().get(), levelOperation(level), message);
}

void log(LogLevel level, const char* message) { log(level, python::text(message)); }

python::Ref vout() { return moduleGlobal("vout"); }
python::Ref vfile() { return moduleGlobal("vfile"); }
python::Ref vutils() { return moduleGlobal("vutils"); }

}  // namespace vanalyzer::host
