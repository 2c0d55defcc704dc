#include "analysis/skip_paths.h"

#include "analysis/skip_path_rules.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "python/objects.h"

namespace vanalyzer::analysis {

using host::LogLevel;

python::Ref readSkipPathSetting() {
  python::Ref setting = python::text("");
  python::guard(
      [&] {
        python::Ref answer = python::callMethod(host::vfile().get(), "getIniConfiger", python::text("Customzation"),
                                                python::text("SKIPPATH"));
        python::Ref value = python::item(python::itemAt(answer.get(), 0).get(), python::text("SKIPPATH").get());
        host::logFormat(LogLevel::Debug, "Found SkipedPath %s", value);
        setting = value;
      },
      [&](const python::CaughtError&) { host::log(LogLevel::Warring, "None Get Skiped Path."); });
  return setting;
}

SkipPaths SkipPaths::prepare(const python::Ref& setting) {
  SkipPaths skipPaths;
  skipPaths.configured_ = !python::equal(setting.get(), python::text("").get());
  if (!skipPaths.configured_) return skipPaths;
  std::vector<std::string> pieces;
  python::guard([&] { pieces = skipPathPieces(python::pathText(setting.get())); },
                [&](const python::CaughtError& failure) { skipPaths.unusable_ = failure; });
  python::Ref re = host::moduleGlobal("re");
  python::Ref ignoreCase = python::attribute(re.get(), "IGNORECASE");
  for (const std::string& text : pieces) {
    python::Ref piece = python::pathFromText(text, python::isUnicode(setting.get()));
    python::guard(
        [&] { skipPaths.patterns_.push_back(python::callMethod(re.get(), "compile", piece, ignoreCase)); },
        [&](const python::CaughtError& failure) {
          host::logFormat(LogLevel::Error, "Invalid Skip Path %s: %s", piece, failure.message());
        });
  }
  return skipPaths;
}

bool SkipPaths::leavesOut(const python::Ref& path) const {
  host::log(LogLevel::Debug, "Starting Filter Path.");
  if (unusable_) {
    python::CaughtError failure = *unusable_;
    failure.restore();
    throw python::Error();
  }
  bool matched = false;
  for (const python::Ref& pattern : patterns_) {
    if (python::isTrue(python::callMethod(pattern.get(), "search", path).get())) {
      host::logFormat(LogLevel::Debug, "Filter Path: %s", path);
      matched = true;
    }
  }
  return matched;
}

}  // namespace vanalyzer::analysis
