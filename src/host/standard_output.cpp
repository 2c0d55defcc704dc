#include "host/standard_output.h"

#include <cstdio>

#include "python/objects.h"

namespace vanalyzer::host {

void printLine(const python::Ref& text) {
  python::Ref stream = python::sysObject("stdout");
  if (!stream || stream.get() == Py_None) return;
  python::callMethod(stream.get(), "write", python::concatenate(text.get(), python::text("\n").get()));
}

void printLine(const char* text) { printLine(python::text(text)); }

void flushStandardStreams() {
  for (const char* name : {"stdout", "stderr"}) {
    python::Ref stream = python::sysObject(name);
    if (stream && stream.get() != Py_None) python::callMethod(stream.get(), "flush");
  }
  std::fflush(nullptr);
}

}  // namespace vanalyzer::host
