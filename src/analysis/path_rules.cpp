#include "analysis/path_rules.h"

#include <vector>

namespace vanalyzer::analysis {
namespace {

bool isSeparator(char c, PathFlavour flavour) {
  return c == '/' || (flavour == PathFlavour::Windows && c == '\\');
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalIgnoringAsciiCase(std::string_view left, std::string_view right) {
  if (left.size() != right.size()) return false;
  for (size_t i = 0; i < left.size(); ++i) {
    if (upperAscii(left[i]) != upperAscii(right[i])) return false;
  }
  return true;
}

std::string withBackslashes(std::string_view path) {
  std::string result(path);
  for (char& c : result) {
    if (c == '/') c = '\\';
  }
  return result;
}

// ntpath.splitdrive: "X:" drives, UNC shares (\\server\share, \\?\UNC\server\share) and devices.
std::pair<std::string_view, std::string_view> splitWindowsDrive(std::string_view path) {
  if (path.size() >= 2) {
    const std::string normal = withBackslashes(path);
    if (normal.compare(0, 2, "\\\\") == 0) {
      std::string head = normal.substr(0, 8);
      for (char& c : head) c = upperAscii(c);
      const size_t start = head == "\\\\?\\UNC\\" ? 8 : 2;
      const size_t index = normal.find('\\', start);
      if (index == std::string::npos) return {path, path.substr(0, 0)};
      size_t index2 = normal.find('\\', index + 1);
      if (index2 == std::string::npos) index2 = path.size();
      return {path.substr(0, index2), path.substr(index2)};
    }
    if (normal[1] == ':') return {path.substr(0, 2), path.substr(2)};
  }
  return {path.substr(0, 0), path};
}

// True when normalisation gives the path back as it is (most paths a scene names): one or two
// leading slashes, then components that are neither empty, "." nor "..".
bool isNormalPosix(std::string_view path) {
  std::size_t position = path.find_first_not_of('/');
  if (position == std::string_view::npos) return !path.empty() && path.size() <= 2;
  if (position > 2 || path.empty()) return false;
  while (true) {
    const std::size_t end = std::min(path.find('/', position), path.size());
    const std::string_view component = path.substr(position, end - position);
    if (component.empty() || component == "." || component == "..") return false;
    if (end == path.size()) return true;
    position = end + 1;
  }
}

std::string normalisePosix(std::string_view path) {
  if (path.empty()) return ".";
  if (isNormalPosix(path)) return std::string(path);
  size_t initialSlashes = path[0] == '/' ? 1 : 0;
  // POSIX leaves the meaning of exactly two leading slashes to the implementation; keep them.
  if (initialSlashes && path.size() > 1 && path[1] == '/' && !(path.size() > 2 && path[2] == '/')) {
    initialSlashes = 2;
  }
  std::vector<std::string_view> components;
  size_t position = 0;
  while (position <= path.size()) {
    size_t end = path.find('/', position);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view component = path.substr(position, end - position);
    position = end + 1;
    if (component.empty() || component == ".") continue;
    if (component != ".." || (!initialSlashes && components.empty()) ||
        (!components.empty() && components.back() == "..")) {
      components.push_back(component);
    } else if (!components.empty()) {
      components.pop_back();
    }
  }
  std::string result(initialSlashes, '/');
  for (size_t i = 0; i < components.size(); ++i) {
    if (i) result += '/';
    result += components[i];
  }
  return result.empty() ? "." : result;
}

std::string normaliseWindows(std::string_view original) {
  if (original.compare(0, 4, "\\\\.\\") == 0 || original.compare(0, 4, "\\\\?\\") == 0) {
    return std::string(original);
  }
  const std::string path = withBackslashes(original);
  auto [drive, rest] = splitWindowsDrive(path);
  std::string prefix(drive);
  if (!rest.empty() && rest[0] == '\\') {
    prefix += '\\';
    rest.remove_prefix(rest.find_first_not_of('\\') == std::string_view::npos ? rest.size()
                                                                                : rest.find_first_not_of('\\'));
  }
  std::vector<std::string_view> components;
  size_t position = 0;
  while (position <= rest.size()) {
    size_t end = rest.find('\\', position);
    if (end == std::string_view::npos) end = rest.size();
    components.push_back(rest.substr(position, end - position));
    position = end + 1;
  }
  std::vector<std::string_view> kept;
  const bool rooted = !prefix.empty() && prefix.back() == '\\';
  for (std::string_view component : components) {
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      if (!kept.empty() && kept.back() != "..") {
        kept.pop_back();
        continue;
      }
      if (kept.empty() && rooted) continue;
    }
    kept.push_back(component);
  }
  if (prefix.empty() && kept.empty()) return ".";
  std::string result = prefix;
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i) result += '\\';
    result += kept[i];
  }
  return result;
}

std::string joinWindows(std::string_view base, std::string_view path) {
  auto [resultDrive, resultPath] = splitWindowsDrive(base);
  std::string drive(resultDrive);
  std::string rest(resultPath);
  const auto [pathDrive, pathRest] = splitWindowsDrive(path);
  if (!pathRest.empty() && isSeparator(pathRest[0], PathFlavour::Windows)) {
    if (!pathDrive.empty() || drive.empty()) drive = std::string(pathDrive);
    rest = std::string(pathRest);
  } else if (!pathDrive.empty() && pathDrive != drive && !equalIgnoringAsciiCase(pathDrive, drive)) {
    drive = std::string(pathDrive);
    rest = std::string(pathRest);
  } else {
    if (!pathDrive.empty()) drive = std::string(pathDrive);
    if (!rest.empty() && !isSeparator(rest.back(), PathFlavour::Windows)) rest += '\\';
    rest += pathRest;
  }
  if (!rest.empty() && !isSeparator(rest[0], PathFlavour::Windows) && !drive.empty() && drive.back() != ':') {
    return drive + '\\' + rest;
  }
  return drive + rest;
}

}  // namespace

bool isAbsolutePath(std::string_view path, PathFlavour flavour) {
  if (flavour == PathFlavour::Posix) return !path.empty() && path[0] == '/';
  const std::string head = withBackslashes(path.substr(0, 3));
  return head.compare(0, 2, "\\\\") == 0 || (head.size() == 3 && head.compare(1, 2, ":\\") == 0);
}

std::string joinPath(std::string_view base, std::string_view path, PathFlavour flavour) {
  if (flavour == PathFlavour::Windows) return joinWindows(base, path);
  if (!path.empty() && path[0] == '/') return std::string(path);
  std::string result(base);
  if (!result.empty() && result.back() != '/') result += '/';
  result += path;
  return result;
}

std::string normalisePath(std::string_view path, PathFlavour flavour) {
  return flavour == PathFlavour::Windows ? normaliseWindows(path) : normalisePosix(path);
}

std::string absolutePath(std::string_view path, std::string_view currentDirectory, PathFlavour flavour) {
  if (isAbsolutePath(path, flavour)) return normalisePath(path, flavour);
  return normalisePath(joinPath(currentDirectory, path, flavour), flavour);
}

bool upperFirstAscii(std::string& path) {
  if (path.empty()) return true;
  if (static_cast<unsigned char>(path[0]) >= 0x80) return false;
  path[0] = upperAscii(path[0]);
  return true;
}

}  // namespace vanalyzer::analysis
