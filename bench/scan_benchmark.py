"""Scenes per second of `vanalyzer-offline scan` over a generated library of small scenes, with -j 1
and -j 2, beside the floor: the time one scene's host takes to start before it reads anything.

Usage: /usr/bin/python3 bench/scan_benchmark.py [--scenes N] [--python INTERPRETER]
(VANALYZER_BINARY_DIR: the CMake build folder, default build/release). Prints figures; asserts nothing.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
LAUNCHER = os.path.join(REPO, "bin", "vanalyzer-offline")
BUILD = os.environ.get("VANALYZER_BINARY_DIR") or os.path.join(REPO, "build", "release")

SCENE = """//Maya ASCII 2022 scene
//Name: shot{index:04d}.ma
requires maya "2022";
requires "mtoa" "5.0.0";
currentUnit -l centimeter -a degree -t film;
fileInfo "application" "maya";
createNode transform -s -n "persp";
createNode camera -s -n "perspShape" -p "persp";
\tsetAttr -k off ".v" no;
\tsetAttr ".rnd" no;
createNode transform -n "shotCam";
createNode camera -n "shotCamShape" -p "shotCam";
\tsetAttr ".rnd" yes;
createNode file -n "colour";
\tsetAttr ".ftn" -type "string" "sourceimages/colour_{index:04d}.png";
createNode file -n "bump";
\tsetAttr ".ftn" -type "string" "sourceimages/shared.png";
select -ne :defaultRenderGlobals;
\tsetAttr ".ren" -type "string" "arnold";
\tsetAttr ".ifp" -type "string" "<Scene>/<RenderLayer>";
// End of shot{index:04d}.ma
"""


def library(root, count):
    """count small scenes in a project with a texture for every other scene and one shared texture."""
    os.makedirs(root)
    with open(os.path.join(root, "workspace.mel"), "w") as handle:
        handle.write('workspace -fr "sourceImages" "sourceimages";\n')
    os.makedirs(os.path.join(root, "sourceimages"))
    open(os.path.join(root, "sourceimages", "shared.png"), "wb").close()
    for index in range(count):
        folder = os.path.join(root, "scenes", "seq%02d" % (index // 100))
        if not os.path.isdir(folder):
            os.makedirs(folder)
        with open(os.path.join(folder, "shot%04d.ma" % index), "w") as handle:
            handle.write(SCENE.format(index=index))
        if index % 2 == 0:
            open(os.path.join(root, "sourceimages", "colour_%04d.png" % index), "wb").close()
    return os.path.join(root, "scenes")


def median_seconds(argv, runs=11):
    times = []
    for _ in range(runs):
        started = time.perf_counter()
        subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - started)
    return sorted(times)[len(times) // 2]


def host_start(python):
    """The host up to the point where it would open the scene: the interpreter, the stand-ins of Maya's
    commands and the service's modules, and the analyzer module, imported as bootstrap.py imports them."""
    major = subprocess.run([python, "-c", "import sys; print(sys.version_info[0])"], check=True,
                           stdout=subprocess.PIPE).stdout.strip()
    binaries = os.path.join(BUILD, "py27" if major == b"2" else "abi3")
    offline = os.path.join(REPO, "offline")
    code = ("import sys; sys.path[0:0] = sys.argv[1:]; from maya import cmds; import vout, vfile, vutils; "
            "import vanalyzer")
    return median_seconds([python, "-s", "-c", code, binaries, os.path.join(offline, "host"),
                           os.path.join(offline, "service", "modules")])


def scan(scenes, jobs, python, work):
    jsonl = os.path.join(work, "scan-j%d.jsonl" % jobs)
    started = time.perf_counter()
    subprocess.run([sys.executable, LAUNCHER, "scan", scenes, "-j", str(jobs), "--jsonl", jsonl,
                    "--python", python], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - started
    with open(jsonl) as handle:
        return sum(1 for _ in handle), elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--scenes", type=int, default=1000)
    parser.add_argument("--python", default="/usr/bin/python3", help="the host interpreter")
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="vanalyzer-scan-bench-")
    try:
        scenes = library(os.path.join(work, "project"), args.scenes)
        bare = median_seconds([args.python, "-s", "-c", "pass"])
        ready = host_start(args.python)
        one = median_seconds([sys.executable, LAUNCHER, os.path.join(scenes, "seq00", "shot0000.ma")])
        print("Host interpreter %s, %d CPUs" % (args.python, os.cpu_count()))
        print("  the interpreter's start alone                %7.1f ms" % (bare * 1000))
        print("  one scene's host start (before the scene)    %7.1f ms   floor of -j 1: %5.2f scenes/s"
              % (ready * 1000, 1 / ready))
        print("  one scene by the single-scene command        %7.1f ms   (client and host)" % (one * 1000))
        print("Library of %d small scenes" % args.scenes)
        rates = {}
        for jobs in (1, 2):
            count, elapsed = scan(scenes, jobs, args.python, work)
            rates[jobs] = count / elapsed
            print("  scan -j %d  %5d scenes in %6.1f s  %6.2f scenes/s  %6.1f ms a scene  %s"
                  % (jobs, count, elapsed, rates[jobs], 1000 * elapsed / count,
                     "%.2f x -j 1" % (rates[jobs] / rates[1]) if jobs > 1 else
                     "host start %.0f%% of it" % (100 * ready * rates[jobs])))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
