"""Time per file of the asset accounting, side by side in one run:

  floor   a plain C++ loop that only sizes the files (stat), built here with g++;
  module  vanalyzer's AnlyzerSenceFile accounting the same files, with trivial service stand-ins
          (getRealDiskPath answers the path itself, RecordAssets does nothing);
  python  the same accounting written in plain Python against the same stand-ins.

Usage: python bench/accounting_benchmark.py [--files N] [--rounds R]
The module is taken from $VANALYZER_BINARY_DIR (default build/release) for the running interpreter.
Not a test: it prints figures.
"""
from __future__ import print_function

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time
import types

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(HERE)
BINARY_DIR = os.environ.get("VANALYZER_BINARY_DIR", os.path.join(REPOSITORY, "build", "release"))

FLOOR_SOURCE = r"""
#include <sys/stat.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::ifstream list(argv[1]);
  const int rounds = std::stoi(argv[2]);
  std::vector<std::string> paths;
  for (std::string line; std::getline(list, line);) paths.push_back(line);
  double best = 1e30;
  long long total = 0;
  for (int round = 0; round < rounds; ++round) {
    total = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : paths) {
      struct stat status;
      if (::stat(path.c_str(), &status) == 0) total += status.st_size;
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed.count() < best) best = elapsed.count();
  }
  std::printf("%.9f %lld\n", best, total);
  return 0;
}
"""


class Clock(object):
    """Marks the accounting loop's start and end from the module's own log lines."""

    def __init__(self):
        self.start = self.end = None

    def line(self, text):
        if text.startswith("change1 scenePath") or text.startswith("change2 scenePath"):
            self.start = time.time()
        elif text.startswith("pelk-fileInfo-total"):
            self.end = time.time()
            self.total_line = text


CLOCK = Clock()


def install_stand_ins(files):
    """Trivial vout, vfile, vutils and maya.cmds in sys.modules, before vanalyzer is imported."""
    class Group(object):
        def __init__(self, files=()):
            self.files = set(files)
            self.missingFiles = set()

    vout = types.ModuleType("vout")
    vout.Info = CLOCK.line
    vout.Debug = vout.Warring = vout.Error = lambda text: None
    vout.RecordAssets = lambda path: None
    vout.OutResult = lambda text: None

    vfile = types.ModuleType("vfile")
    vfile.getAssets = lambda scene: Group(files)
    vfile.getArnoldAssets = vfile.getVRayAssets = vfile.getRenerManAssets = lambda: Group()
    vfile.getRedShiftAssets = lambda cache: Group()
    vfile.getEvaluation = lambda: ""
    vfile.getIniConfiger = lambda section, key: [{"SKIPPATH": ""}]

    vutils = types.ModuleType("vutils")
    vutils.getRealDiskPath = lambda path: path
    vutils.isPluginExist = lambda name: False

    maya = types.ModuleType("maya")
    cmds = types.ModuleType("maya.cmds")
    cmds.pluginInfo = lambda *args, **kwargs: []
    cmds.unloadPlugin = lambda *args, **kwargs: None
    maya.cmds = cmds
    sys.modules.update({"vout": vout, "vfile": vfile, "vutils": vutils, "maya": maya, "maya.cmds": cmds})
    return vout, vutils


def build_tree(root, count):
    paths = []
    per_folder = 1000
    for index in range(count):
        folder = os.path.join(root, "f%03d" % (index // per_folder))
        if index % per_folder == 0:
            os.makedirs(folder)
        path = os.path.join(folder, "tex_%06d.png" % index)
        with open(path, "wb") as handle:
            handle.write(b"x" * (index % 97 + 1))
        paths.append(path)
    return paths


def build_floor(folder, paths):
    """Compiles the floor program; returns its command line for the given paths."""
    source = os.path.join(folder, "floor.cpp")
    program = os.path.join(folder, "floor")
    with open(source, "w") as handle:
        handle.write(FLOOR_SOURCE)
    subprocess.check_call(["g++", "-O2", "-std=c++17", "-o", program, source])
    listing = os.path.join(folder, "paths.txt")
    with open(listing, "w") as handle:
        handle.write("\n".join(paths) + "\n")
    return [program, listing, "1"]


def run_floor(command):
    seconds, total = subprocess.check_output(command).decode().split()
    return float(seconds), int(total)


def run_module(vanalyzer):
    # An analyzer in the state that construction leaves, without the scene steps before the analysis.
    analyzer = vanalyzer.Maya_Analyzer.__new__(vanalyzer.Maya_Analyzer)
    state = dict(status=0, files=set(), missingFiles=set(), sceneName="/scene.ma", GetRSCache=0, melString="",
                 Customz=0, errorCodes=[], errors=[], errorInfo=[], LayersInfo=[], env=[], allCamerasInfo=[],
                 details="", CurrentScriptsVersion="1.5.9")
    for name, value in state.items():
        setattr(analyzer, name, value)
    analyzer.AnlyzerSenceFile()
    return CLOCK.end - CLOCK.start, CLOCK.total_line


def account_in_python(files, vout, vutils):
    """The accounting loop as plain Python: absolute path, drive letter, on-disk form, size, record."""
    refiles = set()
    total = 0
    for path in files:
        real_path = os.path.abspath(path)
        real_path = real_path[0].upper() + real_path[1:]
        try:
            if sys.version_info[0] == 2:
                on_disk = vutils.getRealDiskPath(real_path.encode("utf-8"))
            else:
                real_path.encode("utf-8")
                on_disk = vutils.getRealDiskPath(real_path)
        except Exception:
            on_disk = vutils.getRealDiskPath(real_path)
        if on_disk in refiles:
            continue
        try:
            total += os.path.getsize(on_disk)
        except Exception as error:
            vout.Error("Get file size err:%s" % repr(error))
            vout.Error(on_disk)
        refiles.add(on_disk)
        vout.RecordAssets(on_disk)
    refiles.discard("")
    refiles.discard(os.getcwd())
    return refiles, total


def run_python(files, vout, vutils):
    start = time.time()
    refiles, total = account_in_python(files, vout, vutils)
    return time.time() - start, len(refiles), total


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--files", type=int, default=100000)
    parser.add_argument("--rounds", type=int, default=7)
    options = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="vanalyzer-bench-")
    try:
        root = os.path.join(folder, "tree")
        os.makedirs(root)
        paths = build_tree(root, options.files)
        vout, vutils = install_stand_ins(paths)
        sys.path.insert(0, os.path.join(BINARY_DIR, "py27" if sys.version_info[0] == 2 else "abi3"))
        import vanalyzer

        # All three visit the files in the order in which the module meets them: that of the set.
        visiting_order = list(set(paths))
        # Rounds interleave the three ways, so that a slower spell of the machine meets them alike;
        # each way keeps its best round.
        floor_program = build_floor(folder, visiting_order)
        floor_seconds = module_seconds = python_seconds = float("inf")
        for _ in range(options.rounds):
            seconds, floor_total = run_floor(floor_program)
            floor_seconds = min(floor_seconds, seconds)
            seconds, total_line = run_module(vanalyzer)
            module_seconds = min(module_seconds, seconds)
            seconds, python_count, python_total = run_python(visiting_order, vout, vutils)
            python_seconds = min(python_seconds, seconds)

        expected_line = "pelk-fileInfo-total:::>fileCount: %d, fileSize: %d" % (len(paths), floor_total)
        if total_line != expected_line or (python_count, python_total) != (len(paths), floor_total):
            raise SystemExit("the three ways disagree: %r, %r, %r" % (total_line, expected_line,
                                                                     (python_count, python_total)))
        per_file = lambda seconds: seconds / len(paths) * 1e9
        print("Python %s, %d files, best of %d rounds" % (sys.version.split()[0], len(paths), options.rounds))
        print("%-28s %10s %10s %16s" % ("", "ns/file", "x floor", "above floor ns"))
        for name, seconds in (("floor (C++ stat loop)", floor_seconds), ("vanalyzer module", module_seconds),
                              ("plain Python", python_seconds)):
            print("%-28s %10.0f %10.2f %16.0f" % (name, per_file(seconds), seconds / floor_seconds,
                                                  per_file(seconds - floor_seconds)))
        print("module vs plain Python: %.2f times faster" % (python_seconds / module_seconds))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
