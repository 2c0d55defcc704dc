#include "host/host_commands.h"

#include "host/module_globals.h"

namespace vanalyzer::host {

python::Ref hostCommand(const char* command, std::initializer_list<PyObject*> positional,
                        std::initializer_list<python::Keyword> flags) {
  python::Ref commands = moduleGlobal("py");
  return python::callWithKeywords(python::attribute(commands.get(), command).get(), positional, flags);
}

}  // namespace vanalyzer::host
