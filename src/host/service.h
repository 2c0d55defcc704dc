// The service's modules as the steps use them: the log of vout, and the vfile and vutils modules.
#pragma once

#include "python/objects.h"

namespace vanalyzer::host {

enum class LogLevel { Debug, Info, Warring, Error };

// Writes one finished message through vout at the given level.
void log(LogLevel level, const python::Ref& message);
void log(LogLevel level, const char* message);

// Fills the printf-style format with Python's own % operator, then logs it.
template <class... Arguments>
void logFormat(LogLevel level, const char* formatText, const Arguments&... arguments) {
  log(level, python::format(formatText, arguments...));
}

python::Ref vout();
python::Ref vfile();
python::Ref vutils();

}  // namespace vanalyzer::host
