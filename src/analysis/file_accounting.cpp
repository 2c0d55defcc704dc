#include "analysis/file_accounting.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "analysis/accounted_files.h"
#include "analysis/companion_files.h"
#include "analysis/path_rules.h"
#include "analysis/size_prefetch.h"
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

// The text of os.path.abspath; the current directory is asked of folderOf() only for a relative
// path (nullptr: there is none to be had, and the text is empty).
template <class FolderOf>
std::string absoluteText(std::string_view text, FolderOf folderOf) {
  if (isAbsolutePath(text, kNativePathFlavour)) return normalisePath(text, kNativePathFlavour);
  const std::string* folder = folderOf();
  return folder != nullptr ? absolutePath(text, *folder, kNativePathFlavour) : std::string();
}

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
  std::string absolute = absoluteText(text, [&] { return &currentDirectory.text(unicode); });
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

// Below this many files a thread of its own costs more than it saves.
constexpr Py_ssize_t kPrefetchFrom = 256;

// The sizes of the files' likely on-disk paths, their absolute forms (most are already on disk in
// that spelling), asked for on a thread of its own while the loop asks the service about each file.
// Only the texts are taken here; what cannot be taken is left to the loop, which then meets any
// failure at its own time.
std::unique_ptr<SizePrefetch> prefetchSizes(PyObject* files, CurrentDirectory& currentDirectory) {
  // a collection only: the loop walks it again (an iterator would be spent)
  const bool collection = PyAnySet_Check(files) || PyList_Check(files) || PyTuple_Check(files);
  if (!collection || python::length(files) < kPrefetchFrom) return nullptr;
  TextList texts;
  std::vector<bool> unicode;
  std::optional<std::string> folders[2];  // the current directory for bytes, for Unicode
  python::forEach(files, [&](const python::Ref& reference) {
    std::string text;
    const bool isUnicode = python::isUnicode(reference.get());
    if (isUnicode || python::isBytes(reference.get())) {
      python::guard(
          [&] {
            text = python::pathText(reference.get());
            if (!isAbsolutePath(text, kNativePathFlavour) && !folders[isUnicode])
              folders[isUnicode] = currentDirectory.text(isUnicode);
          },
          [&](const python::CaughtError&) { text.clear(); });
    }
    texts.push_back(text);
    unicode.push_back(isUnicode);
  });
  auto pathOf = [unicode = std::move(unicode), unicodeFolder = folders[1], bytesFolder = folders[0]](
                    std::size_t index, std::string_view text) {
    const std::optional<std::string>& folder = unicode[index] ? unicodeFolder : bytesFolder;
    std::string absolute = absoluteText(text, [&] { return folder ? &*folder : nullptr; });
    upperFirstAscii(absolute);
    return absolute;
  };
  try {
    return std::make_unique<SizePrefetch>(std::move(texts), std::move(pathOf));
  } catch (const std::system_error&) {
    return nullptr;  // no thread to be had: every file is sized in the loop
  }
}

}  // namespace

python::Ref accountSceneFiles(const Analyzer& analyzer, const AccountingSettings& settings) {
  AccountedFiles accounted;
  CurrentDirectory currentDirectory;
  const python::Ref getRealDiskPath = python::attribute(host::vutils().get(), "getRealDiskPath");
  const python::Ref files = analyzer.get("files");
  const std::unique_ptr<SizePrefetch> prefetch = prefetchSizes(files.get(), currentDirectory);

  std::size_t index = 0;
  python::forEach(files.get(), [&](const python::Ref& reference) {
    const std::size_t at = index++;
    bool firstIsAscii = true;
    python::Ref realPath = absoluteForm(reference, currentDirectory, firstIsAscii);
    python::guard(
        [&] {
          if (!firstIsAscii) realPath = upperFirstByInterpreter(realPath);
          const python::Ref onDisk = diskForm(getRealDiskPath, realPath);
          accountCompanions(accounted, onDisk, settings, getRealDiskPath);
          if (settings.skipPaths.configured() && settings.skipPaths.leavesOut(onDisk)) return;
          accounted.account(onDisk, prefetch.get(), at);
        },
        [&](const python::CaughtError& failure) {
          host::logFormat(LogLevel::Error, "Set File to New Set Error: %s.", failure.representation());
          host::logFormat(LogLevel::Error, "Set File: %s to New Set Error: %s.", realPath, failure.message());
        });
  });
  return accounted.finish();
}

}  // namespace vanalyzer::analysis
