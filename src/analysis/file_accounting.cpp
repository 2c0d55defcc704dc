#include "analysis/file_accounting.h"

#include <optional>
#include <string>

#include "analysis/accounted_files.h"
#include "analysis/companion_files.h"
#include "analysis/path_rules.h"
#include "host/module_globals.h"
#include "host/service.h"
#include "python/caught_error.h"
#include "python/objects.h"

namespace vanalyzer::analysis {
namespace {

using host::LogLevel;

// The current directory in both kinds of path, asked for once per run and only when needed.
class CurrentDirectory {
 public:
  const std::string& text(bool unicode) {
    std::optional<std::string>& slot = unicode ? unicode_ : bytes_;
    if (!slot) slot = python::pathText(python::currentDirectory(unicode).get());
    return *slot;
  }

 private:
  std::optional<std::string> unicode_, bytes_;
};

// os.path.abspath, then the first character upper-cased (the drive letter on Windows).
python::Ref absoluteForm(const python::Ref& reference, CurrentDirectory& currentDirectory, bool& firstIsAscii) {
  const bool unicode = python::isUnicode(reference.get());
  if (!unicode && !python::isBytes(reference.get())) {
    // Other kinds (path-like objects) get the interpreter's own answer, errors included.
    firstIsAscii = false;
    python::Ref path = python::attribute(host::moduleGlobal("os").get(), "path");
    return python::callMethod(path.get(), "abspath", reference);
  }
  const std::string text = python::pathText(reference.get());
  std::string absolute = isAbsolutePath(text, kNativePathFlavour)
                             ? normalisePath(text, kNativePathFlavour)
                             : absolutePath(text, currentDirectory.text(unicode), kNativePathFlavour);
  // Byte strings upper-case ASCII only; a non-ASCII first letter of Unicode text follows the
  // interpreter's case rules.
  firstIsAscii = upperFirstAscii(absolute) || !unicode;
  // Most references are already in this form: the reference itself then serves, with no new text.
  if (absolute == text) return reference;
  return python::pathFromText(absolute, unicode);
}

python::Ref upperFirstByInterpreter(const python::Ref& path) {
  python::Ref first = python::require(PySequence_GetSlice(path.get(), 0, 1));
  python::Ref rest = python::require(PySequence_GetSlice(path.get(), 1, PY_SSIZE_T_MAX));
  return python::concatenate(python::callMethod(first.get(), "upper").get(), rest.get());
}

// The exact on-disk form: asked for the UTF-8 form first, then for the path as it is.
python::Ref diskForm(const python::Ref& getRealDiskPath, const python::Ref& realPath) {
  python::Ref onDisk;
  python::guard([&] { onDisk = python::callWithOne(getRealDiskPath.get(), python::utf8ForLookup(realPath.get()).get()); },
                [&](const python::CaughtError&) { onDisk = python::callWithOne(getRealDiskPath.get(), realPath.get()); });
  return onDisk;
}

}  // namespace

python::Ref accountSceneFiles(const Analyzer& analyzer, const AccountingSettings& settings) {
  AccountedFiles accounted;
  CurrentDirectory currentDirectory;
  const python::Ref getRealDiskPath = python::attribute(host::vutils().get(), "getRealDiskPath");

  python::forEach(analyzer.get("files").get(), [&](const python::Ref& reference) {
    bool firstIsAscii = true;
    python::Ref realPath = absoluteForm(reference, currentDirectory, firstIsAscii);
    python::guard(
        [&] {
          if (!firstIsAscii) realPath = upperFirstByInterpreter(realPath);
          const python::Ref onDisk = diskForm(getRealDiskPath, realPath);
          accountCompanions(accounted, onDisk, settings, getRealDiskPath);
          if (settings.skipPaths.configured() && settings.skipPaths.leavesOut(onDisk)) return;
          accounted.account(onDisk);
        },
        [&](const python::CaughtError& failure) {
          host::logFormat(LogLevel::Error, "Set File to New Set Error: %s.", failure.representation());
          host::logFormat(LogLevel::Error, "Set File: %s to New Set Error: %s.", realPath, failure.message());
        });
  });
  return accounted.finish();
}

}  // namespace vanalyzer::analysis
