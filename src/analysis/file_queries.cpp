#include "analysis/file_queries.h"

#include <cerrno>
#include <optional>
#include <string>

#include "analysis/file_system.h"
#include "python/caught_error.h"
#include "python/compat.h"

namespace vanalyzer::analysis {
namespace {

// The operating system's bytes for the path; ValueError for a NUL inside, as os.stat raises.
std::string queryablePath(PyObject* path) {
  std::string bytes = python::fileSystemPath(path);
  if (bytes.find('\0') != std::string::npos) {
    PyErr_SetString(PyExc_ValueError, "embedded null byte");
    throw python::Error();
  }
  return bytes;
}

[[noreturn]] void raiseOsError(int errorNumber, PyObject* path) {
  errno = errorNumber;
  PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, path);
  throw python::Error();
}

}  // namespace

std::int64_t sizeOf(PyObject* path, SizePrefetch* prefetch, std::size_t index) {
  const std::string bytes = queryablePath(path);
  std::optional<FileSize> prefetched = prefetch != nullptr ? prefetch->sized(index, bytes) : std::nullopt;
  FileSize answer;
  if (prefetched)
    answer = *prefetched;
  else
    answer.size = fileSize(bytes, answer.errorNumber);
  if (!answer.size) raiseOsError(answer.errorNumber, path);
  return *answer.size;
}

bool exists(PyObject* path) {
  // os.path.exists answers false for a path that cannot even be put to the system.
  bool answer = false;
  python::guard([&] { answer = pathExists(queryablePath(path)); }, [](const python::CaughtError&) {});
  return answer;
}

python::Ref realPathOf(PyObject* path) {
  int errorNumber = 0;
  const auto resolved = canonicalPath(queryablePath(path), errorNumber);
  if (!resolved) raiseOsError(errorNumber, path);
  return python::pathFromFileSystem(*resolved, python::isUnicode(path));
}

}  // namespace vanalyzer::analysis
