"""The whole command line (bin/vanalyzer-offline) on generated production-scale scenes, beside the
floor, in one run. Not a test: it prints figures and which targets they meet.

Scenes (bench/offline_scenes.py): 100,000 file textures (a tenth missing, a tenth UDIM sets), a
10,000-deep DAG chain, a 1,000,000-node scene and a scene holding a 300 MB string, each as Maya
ASCII and as Maya Binary (written by bench/mb_writer.py); sizes can be changed to try others. For each: the end-to-end time and CPU time of the command line (client and
host), the host's peak memory, the time the host takes to open the scene (statements a second),
and the floor: a C++ loop (bench/floor_loop.cpp, built here with g++) that reads the scene's bytes
once and sizes every file the scene references.

The fixed cost (an empty scene end to end) is printed first; "own s" is a scene's end to end time
above it, what the scene itself costs.

Targets (this 2-core machine): the texture scene end to end within 5 times the floor (stretch:
3 times); the chain under 2 s and 500 MB; the node scene read at 1,000,000 statements a second or
more; every peak memory under twice the scene's size plus what the host needs for an empty scene.

Usage: python3 bench/offline_benchmark.py [--textures N] [--depth N] [--nodes N] [--string-mb N]
       [--only NAME ...] [--forms ma mb] [--python INTERPRETER] [--rounds R] [--keep DIR]
       [--timeout SECONDS] [--memory-limit MB]
The build is taken from $VANALYZER_BINARY_DIR (default build/release).
"""
from __future__ import print_function

import argparse
import collections
import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
BINARY_DIR = os.environ.get("VANALYZER_BINARY_DIR") or os.path.join(REPO, "build", "release")
sys.path.insert(0, HERE)
sys.path.insert(1, os.path.join(REPO, "offline"))

import offline_scenes  # noqa: E402
from cli.host_allocator import host_allocator  # noqa: E402

MB = 1024.0 * 1024.0

# opens a scene in the host as the command line's bootstrap does (with the host's allocator), and
# says how long it took
_OPEN_TIMER = r"""
import sys, time
sys.path[0:0] = [sys.argv[1], sys.argv[2]]
from maya import cmds
start = time.time()
cmds.file(sys.argv[3], open=True, force=True)
print(time.time() - start)
"""


def build_floor(folder):
    program = os.path.join(folder, "floor_loop")
    subprocess.check_call(["g++", "-O2", "-std=c++17", "-o", program, os.path.join(HERE, "floor_loop.cpp")])
    return program


def run_floor(program, scene, folder, rounds):
    listing = os.path.join(folder, "referenced.txt")
    with open(listing, "w") as handle:
        handle.write("".join(path + "\n" for path in scene.referenced))
    fields = subprocess.check_output([program, scene.path, listing, str(max(rounds, 3))]).decode().split()
    read, sized = float(fields[0]), float(fields[1])
    if int(fields[4]) != len(scene.referenced):
        raise SystemExit("the floor found %s of the %d referenced files" % (fields[4], len(scene.referenced)))
    return read + sized


# runs a command and reports its usage; started fresh, so that the command's peak memory is its own
# (a child forked from this big process would count this process's memory as its peak: Linux keeps
# the larger of the forked and the executed image)
_MEASURE = r"""
import json, os, resource, subprocess, sys, time
limit = int(sys.argv[1])
def cap():
    if limit:
        resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
start = time.time()
with open(sys.argv[2], "wb") as err:
    child = subprocess.Popen(sys.argv[3:], stdout=subprocess.DEVNULL, stderr=err, preexec_fn=cap)
    _, status, usage = os.wait4(child.pid, 0)
wall = time.time() - start
code = os.WEXITSTATUS(status) if os.WIFEXITED(status) else -os.WTERMSIG(status)
print(json.dumps([code, wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024.0]))
"""


def measured(command, err_path, env=None, memory_limit_mb=None):
    """(exit status, wall seconds, CPU seconds, peak resident MB) of a command and its children;
    their address space is capped at memory_limit_mb, so that a run that would take the machine's
    memory fails instead."""
    limit = int(memory_limit_mb * MB) if memory_limit_mb else 0
    output = subprocess.check_output([sys.executable, "-c", _MEASURE, str(limit), err_path] + command, env=env)
    return tuple(json.loads(output.decode().strip().splitlines()[-1]))


class Unfinished(Exception):
    """The command line gave no result for a scene (out of memory, out of time, a failure)."""


def run_cli(scene, folder, options):
    outputs = dict((name, os.path.join(folder, "%s.%s" % (os.path.basename(scene.path), name)))
                   for name in ("result", "log", "assets"))
    command = [sys.executable, os.path.join(REPO, "bin", "vanalyzer-offline"), scene.path, "--json",
               "--result", outputs["result"], "--log", outputs["log"], "--assets", outputs["assets"]]
    if options.python:
        command += ["--python", options.python]
    command += ["--timeout", str(options.timeout)]
    err_path = os.path.join(folder, "stderr.txt")
    code, wall, cpu, peak = measured(command, err_path, dict(os.environ, VANALYZER_BINARY_DIR=BINARY_DIR),
                                     options.memory_limit)
    if code not in (0, 1, 2):
        with open(err_path, "rb") as handle:
            lines = [line for line in handle.read().decode("utf-8", "replace").splitlines() if line.strip()]
        raise Unfinished("no result after %.0f s, %.0f MB (exit %d): %s"
                         % (wall, peak, code, lines[-1] if lines else "no message"))
    with open(outputs["result"], "rb") as handle:
        result = json.loads(handle.read().decode("utf-8"))
    return wall, cpu, peak, result


def open_seconds(scene, options):
    python = options.python
    interpreter = python if python and os.sep in python else sys.executable
    if python and os.sep not in python:
        from cli.preflight import resolve_interpreter
        interpreter = resolve_interpreter(python)
    modules = os.path.join(BINARY_DIR, "py27" if "2.7" in interpreter else "abi3")
    err_path = os.path.join(os.path.dirname(scene.path), "open-timer.txt")
    command = [interpreter, "-c", _OPEN_TIMER, modules, os.path.join(REPO, "offline", "host"), scene.path]
    env = dict(os.environ, **host_allocator(os.environ))
    with open(err_path, "wb") as output:
        child = subprocess.Popen(command, stdout=output, env=env, preexec_fn=lambda: resource.setrlimit(
            resource.RLIMIT_AS, (int(options.memory_limit * MB),) * 2))
        child.wait()
    with open(err_path) as handle:
        return float(handle.read().split()[-1])


def row(label, values):
    return "%-25s %s" % (label, " ".join("%11s" % v for v in values))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--textures", type=int, default=100000)
    parser.add_argument("--depth", type=int, default=10000)
    parser.add_argument("--nodes", type=int, default=1000000)
    parser.add_argument("--string-mb", type=int, default=300)
    parser.add_argument("--only", nargs="*", choices=("textures", "chain", "nodes", "string"))
    parser.add_argument("--forms", nargs="*", choices=("ma", "mb"), default=["ma", "mb"],
                        help="Maya ASCII, Maya Binary or both (default)")
    parser.add_argument("--python", help="the host interpreter (as vanalyzer-offline --python takes it)")
    parser.add_argument("--rounds", type=int, default=3,
                        help="runs of the command line per scene, the best kept (default 3: on some days a run "
                             "comes out at one of two times)")
    parser.add_argument("--keep", help="generate into this folder and keep it")
    parser.add_argument("--timeout", type=int, default=600, help="seconds a run may take (default 600)")
    parser.add_argument("--memory-limit", type=int, default=6144,
                        help="MB of address space a run may take (default 6144)")
    options = parser.parse_args()
    wanted = options.only or ("textures", "chain", "nodes", "string")

    folder = options.keep or tempfile.mkdtemp(prefix="vanalyzer-offline-bench-")
    if options.keep and not os.path.isdir(folder):
        os.makedirs(folder)
    try:
        started = time.time()
        texture_project = None
        scenes = []
        for form in options.forms:
            binary = form == "mb"
            for key in ("textures", "chain", "nodes", "string"):
                if key not in wanted:
                    continue
                if key == "textures":
                    if texture_project is None:
                        texture_project = offline_scenes.texture_files(folder, options.textures)
                    scene = offline_scenes.texture_scene(texture_project[0], texture_project[1], binary)
                elif key == "chain":
                    scene = offline_scenes.chain_scene(folder, options.depth, binary)
                elif key == "nodes":
                    scene = offline_scenes.node_scene(folder, options.nodes, binary=binary)
                else:
                    scene = offline_scenes.string_scene(folder, options.string_mb, binary)
                scene.name += " ." + form
                scenes.append((key + "." + form, scene))
        empty = offline_scenes.empty_scene(folder)
        print("generated %d scenes in %.0f s under %s" % (len(scenes), time.time() - started, folder))
        floor_program = build_floor(folder)

        fixed_wall, fixed_cpu, baseline, _ = min((run_cli(empty, folder, options) for _ in range(3)),
                                                 key=lambda run: run[0])
        # what every scene pays before its own work: two interpreters, the stand-ins, the analyzer
        print("host interpreter %s; an empty scene (the fixed cost): %.2f s end to end, %.2f s CPU, %.0f MB peak"
              % (options.python or "Debian python3", fixed_wall, fixed_cpu, baseline))
        print()
        print(row("scene", ["size MB", "statements", "end to end", "CPU", "floor", "x floor", "own s",
                            "open s", "stmts/s", "peak MB", "limit MB"]))
        figures = collections.OrderedDict()
        unfinished = []
        for key, scene in scenes:
            floor = run_floor(floor_program, scene, folder, 3)
            limit = 2 * scene.size / MB + baseline
            first = [("%.1f" % (scene.size / MB)), "{:,}".format(scene.statements)]
            try:
                wall, cpu, peak, result = min((run_cli(scene, folder, options) for _ in range(options.rounds)),
                                              key=lambda run: run[0])
            except Unfinished as failure:
                unfinished.append("%s: %s" % (scene.name, failure))
                figures[key] = None
                print(row(scene.name, first + ["no result", "", "%.3f s" % floor, "", "", "", "", "", "%.0f" % limit]))
                continue
            opened = open_seconds(scene, options)
            figures[key] = dict(wall=wall, cpu=cpu, peak=peak, floor=floor, opened=opened, limit=limit,
                                rate=scene.statements / opened, files=sorted(result.get("files", [])),
                                status=result.get("status"))
            print(row(scene.name, first + ["%.2f s" % wall, "%.2f s" % cpu, "%.3f s" % floor, "%.1f" % (wall / floor),
                                           "%.2f" % max(wall - fixed_wall, 0.0), "%.2f" % opened, "{:,.0f}".format(scene.statements / opened),
                                           "%.0f" % peak, "%.0f" % limit]))
        for line in unfinished:
            print("  " + line)
        print()
        print("targets")
        for line in targets(figures):
            print("  " + line)
    finally:
        if not options.keep:
            shutil.rmtree(folder, ignore_errors=True)


def targets(figures):
    def verdict(ok):
        return "met" if ok else "NOT met"
    lines = []
    for key, f in figures.items():
        kind, form = key.split(".")
        if f is None:
            lines.append("%s (.%s): no result, NOT met" % (kind, form))
            continue
        if kind == "textures":
            ratio = f["wall"] / f["floor"]
            lines.append("texture scene (.%s) within 5 x the floor: %.1f x, %s (stretch 3 x: %s)"
                         % (form, ratio, verdict(ratio <= 5), verdict(ratio <= 3)))
        elif kind == "chain":
            lines.append("chain (.%s) under 2 s and 500 MB: %.2f s, %.0f MB, %s"
                         % (form, f["wall"], f["peak"], verdict(f["wall"] < 2 and f["peak"] < 500)))
        elif kind == "nodes":
            lines.append("node scene (.{}) read at 1,000,000 statements/s or more: {:,.0f}/s, {}".format(
                form, f["rate"], verdict(f["rate"] >= 1e6)))
        lines.append("%s (.%s) peak under %.0f MB: %.0f MB, %s" % (kind, form, f["limit"], f["peak"],
                                                                  verdict(f["peak"] < f["limit"])))
        twin = figures.get(kind + ".ma")
        if form == "mb" and twin:
            same = (twin["files"], twin["status"]) == (f["files"], f["status"])
            lines.append("%s: the .ma and .mb forms give %s (%d files, status %s)"
                         % (kind, "the same result" if same else "DIFFERENT results", len(f["files"]), f["status"]))
    return lines


if __name__ == "__main__":
    main()
