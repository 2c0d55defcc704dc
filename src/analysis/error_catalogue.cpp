#include "analysis/error_catalogue.h"

#include "host/module_globals.h"
#include "host/service.h"
#include "python/caught_error.h"

namespace vanalyzer::analysis {
namespace {

using host::LogLevel;

python::Ref catalogueLocation() {
  python::Ref path = python::attribute(host::moduleGlobal("os").get(), "path");
  python::Ref vfileFile = python::attribute(host::vfile().get(), "__file__");
  python::Ref folder = python::callMethod(path.get(), "dirname",
                                          python::callMethod(path.get(), "abspath", vfileFile));
  python::Ref joined = python::callMethod(path.get(), "join", folder, python::text("../../VANTORCODE"));
  return python::callMethod(path.get(), "realpath", joined);
}

// The whole file as bytes; the file is closed on every path out.
python::Ref readWholeFile(const python::Ref& location) {
  python::Ref file = python::callMethod(python::importModule("io").get(), "open", location, python::text("rb"));
  python::Ref content;
  try {
    content = python::callMethod(file.get(), "read");
  } catch (const python::Error&) {
    python::cleanUpKeepingError([&] { python::callMethod(file.get(), "close"); });
    throw;
  }
  python::callMethod(file.get(), "close");
  return content;
}

}  // namespace

bool loadErrorCatalogue(const Analyzer& analyzer) {
  analyzer.set("scriptPath", catalogueLocation());
  host::logFormat(LogLevel::Info, "errorCodePath=%s", analyzer.get("scriptPath"));
  python::Ref path = python::attribute(host::moduleGlobal("os").get(), "path");
  if (!python::isTrue(python::callMethod(path.get(), "isfile", analyzer.get("scriptPath")).get())) {
    host::log(LogLevel::Error, "can not find error code.");
    return false;
  }
  python::Ref content = readWholeFile(analyzer.get("scriptPath"));
  analyzer.set("errorInfo", python::callMethod(host::moduleGlobal("json").get(), "loads", content));
  analyzer.set("errorCodes", python::newList());
  analyzer.set("errors", python::newList());
  return true;
}

}  // namespace vanalyzer::analysis
