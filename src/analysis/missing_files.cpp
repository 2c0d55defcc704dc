#include "analysis/missing_files.h"

#include <string>

#include "analysis/message_text.h"
#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::analysis {

void dropEmptyMissingFile(const Analyzer& analyzer) {
  python::callMethod(analyzer.get("missingFiles").get(), "discard", python::text(""));
}

void logMissingFileCount(const Analyzer& analyzer) {
  host::logFormat(host::LogLevel::Debug, "Missing Files Count is : %d",
                  python::integer(python::length(analyzer.get("missingFiles").get())));
}

void raiseMissingFiles(const Analyzer& analyzer) {
  if (python::length(analyzer.get("missingFiles").get()) == 0) return;
  analyzer.recordStatus(1);
  analyzer.appendErrorCode(10001);
}

python::Ref missingFilesText(const Analyzer& analyzer) {
  // Joined once at the end: a scene may miss thousands of files.
  python::Ref lines = python::newList();
  const python::Ref lineEnd = python::unicodeText("\r\n");
  python::forEach(analyzer.get("missingFiles").get(), [&](const python::Ref& path) {
    python::guard(
        [&] {
          python::Ref line = python::concatenate(asUnicode(path, {"gbk"}).get(), lineEnd.get());
          python::append(lines.get(), line.get());
        },
        [](const python::CaughtError&) {});
  });
  return python::callMethod(python::unicodeText("").get(), "join", lines);
}

}  // namespace vanalyzer::analysis
