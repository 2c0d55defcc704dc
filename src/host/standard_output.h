// Lines that go to standard output directly, through the interpreter's sys.stdout as a print
// statement would, so that a host that redirects it (Maya's Script Editor) shows them.
#pragma once

#include "python/ref.h"

namespace vanalyzer::host {

void printLine(const python::Ref& text);
void printLine(const char* text);
// Flushes sys.stdout and sys.stderr (where present) and C's streams.
void flushStandardStreams();

}  // namespace vanalyzer::host
