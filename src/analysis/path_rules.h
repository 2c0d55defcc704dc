// Absolute paths as the interpreter's os.path.abspath makes them, computed without the interpreter
// so that the accounting loop stays in C++. The texts are UTF-8 for Unicode paths and the bytes
// themselves for byte paths; every rule below acts on ASCII separators and dots only.
#pragma once

#include <string>
#include <string_view>

namespace vanalyzer::analysis {

enum class PathFlavour { Posix, Windows };

#if defined(_WIN32)
constexpr PathFlavour kNativePathFlavour = PathFlavour::Windows;
#else
constexpr PathFlavour kNativePathFlavour = PathFlavour::Posix;
#endif

// os.path.isabs. Windows counts a path absolute only with both a drive and a root (or a UNC or
// device prefix), as the system's own resolution does: "\x" and "C:x" are resolved further.
bool isAbsolutePath(std::string_view path, PathFlavour flavour);

// os.path.join of two paths.
std::string joinPath(std::string_view base, std::string_view path, PathFlavour flavour);

// os.path.normpath.
std::string normalisePath(std::string_view path, PathFlavour flavour);

// os.path.abspath, with the current directory given.
std::string absolutePath(std::string_view path, std::string_view currentDirectory, PathFlavour flavour);

// Upper-cases the first character when it is ASCII (the drive letter of a Windows path) and
// returns true; returns false, leaving the text alone, when the first character is not ASCII.
bool upperFirstAscii(std::string& path);

}  // namespace vanalyzer::analysis
