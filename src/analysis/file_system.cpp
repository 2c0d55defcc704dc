#include "analysis/file_system.h"

#include <cerrno>
#include <cstdlib>
#include <memory>

#include <sys/stat.h>
#include <sys/types.h>

#if defined(_WIN32)
#include <windows.h>
#endif

namespace vanalyzer::analysis {

#if defined(_WIN32)

namespace {
std::wstring widen(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string narrow(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr,
                      nullptr);
  return utf8;
}
}  // namespace

std::optional<std::int64_t> fileSize(const std::string& path, int& errorNumber) {
  struct _stat64 status;
  if (_wstat64(widen(path).c_str(), &status) != 0) {
    errorNumber = errno;
    return std::nullopt;
  }
  return static_cast<std::int64_t>(status.st_size);
}

bool pathExists(const std::string& path) {
  struct _stat64 status;
  return _wstat64(widen(path).c_str(), &status) == 0;
}

std::optional<std::string> canonicalPath(const std::string& path, int& errorNumber) {
  wchar_t* full = _wfullpath(nullptr, widen(path).c_str(), 0);
  if (full == nullptr) {
    errorNumber = errno;
    return std::nullopt;
  }
  std::string result = narrow(full);
  std::free(full);
  return result;
}

#else

std::optional<std::int64_t> fileSize(const std::string& path, int& errorNumber) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0) {
    errorNumber = errno;
    return std::nullopt;
  }
  return static_cast<std::int64_t>(status.st_size);
}

bool pathExists(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0;
}

std::optional<std::string> canonicalPath(const std::string& path, int& errorNumber) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  if (!resolved) {
    errorNumber = errno;
    return std::nullopt;
  }
  return std::string(resolved.get());
}

#endif

}  // namespace vanalyzer::analysis
