"""The offline host at production scale, side by side in one run, on generated scenes:

  wc -l        the floor: reading the file once, counting lines;
  graph        scenegraph.Graph().add_file: the reader and the host's scene graph;
  open         maya.cmds.file(open=True) and the queries the analysis makes of every scene;
  load         mayascene.load, the plain way: the whole scene as Python dicts;
  analysis     bin/vanalyzer-offline on the scene, the whole analysis in its own host.

Scenes: a node-heavy one of 1,000,000 nodes (transforms, meshes, textures, connections as Maya
writes them), a DAG chain 10,000 deep, and a script node whose body is 300 MB. Each figure is taken
in a fresh interpreter; peak memory is the process's (the analysis': the host's) maximum resident
size. Statements per second count the file's statements over the wall time, and over the CPU time
(the machine may be shared).

Usage: python bench/graph_benchmark.py [--nodes N] [--depth D] [--script-mb M] [--skip-load]
(VANALYZER_BINARY_DIR: the CMake build dir, default build/release). Prints figures; asserts nothing.
"""
from __future__ import print_function

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BINARY_DIR = os.environ.get("VANALYZER_BINARY_DIR") or os.path.join(REPO, "build", "release")
MODULE_DIR = os.path.join(BINARY_DIR, "py27" if sys.version_info[0] == 2 else "abi3")

HEADER = ('//Maya ASCII 2025ff03 scene\n//Name: %s\n//Last modified: Thu, Jan 16, 2025 10:00:00 AM\n'
          '//Codeset: UTF-8\nrequires maya "2025ff03";\nrequires "mtoa" "5.4.2.1";\n'
          'currentUnit -l centimeter -a degree -t film;\nfileInfo "application" "maya";\n')
CAMERA = ('createNode transform -n "shotCam";\n\trename -uid "%s";\n\tsetAttr ".t" -type "double3" 0 10 40 ;\n'
          'createNode camera -n "shotCamShape" -p "shotCam";\n\trename -uid "%s";\n\tsetAttr ".fl" 50;\n')
TRAILER = ('select -ne :defaultRenderGlobals;\n\tsetAttr ".ren" -type "string" "arnold";\n'
           'select -ne :defaultResolution;\n\tsetAttr ".w" 1920;\n\tsetAttr ".h" 1080;\n')


def uid(rng):
    h = "%032X" % rng.getrandbits(128)
    return "%s-%s-%s-%s-%s" % (h[:8], h[8:12], h[12:16], h[16:20], h[20:])


def node_heavy(path, nodes):
    """Groups of ten props: transform, mesh shape, file texture, their connections. Returns the
    number of statements."""
    rng = random.Random(1)
    statements = 0
    connections = []
    with open(path, "w") as out:
        out.write(HEADER % os.path.basename(path))
        statements += 3
        out.write(CAMERA % (uid(rng), uid(rng)))
        statements += 6
        n = group = 0
        while n < nodes:
            out.write('createNode transform -n "group%d";\n\trename -uid "%s";\n' % (group, uid(rng)))
            n += 1
            statements += 2
            for _ in range(10):
                out.write('createNode transform -n "geo%d" -p "group%d";\n\trename -uid "%s";\n'
                          '\tsetAttr ".t" -type "double3" %g 2.5 -1.25 ;\n' % (n, group, uid(rng), rng.random()))
                out.write('createNode mesh -n "geoShape%d" -p "geo%d";\n\trename -uid "%s";\n\tsetAttr -k off ".v";\n'
                          '\tsetAttr ".vir" yes;\n\tsetAttr ".uvst[0].uvsn" -type "string" "map1";\n'
                          '\tsetAttr ".cuvs" -type "string" "map1";\n' % (n + 1, n, uid(rng)))
                out.write('createNode file -n "file%d";\n\trename -uid "%s";\n'
                          '\tsetAttr ".ftn" -type "string" "sourceimages/tex%d.png";\n' % (n + 2, uid(rng), n + 2))
                connections.append('connectAttr "file%d.oc" ":lambert1.c";\n'
                                   'connectAttr "geoShape%d.iog" ":initialShadingGroup.dsm" -na;\n' % (n + 2, n + 1))
                n += 3
                statements += 3 + 6 + 3 + 2
            group += 1
        out.write(TRAILER)
        statements += 5
        out.write("".join(connections))
        out.write("// End of %s\n" % os.path.basename(path))
    return statements


def chain(path, depth):
    """A joint chain `depth` deep with a camera at its end."""
    rng = random.Random(2)
    with open(path, "w") as out:
        out.write(HEADER % os.path.basename(path))
        out.write('createNode joint -n "joint1";\n\trename -uid "%s";\n' % uid(rng))
        for i in range(2, depth + 1):
            out.write('createNode joint -n "joint%d" -p "joint%d";\n\trename -uid "%s";\n'
                      '\tsetAttr ".t" -type "double3" 1 0 0 ;\n' % (i, i - 1, uid(rng)))
        out.write('createNode camera -n "tipCamShape" -p "joint%d";\n' % depth)
        out.write(TRAILER)
        out.write("// End of %s\n" % os.path.basename(path))
    return 3 + 2 + (depth - 1) * 3 + 1 + 5


def script_body(path, megabytes):
    """One script node whose body, written as Maya writes long strings, is `megabytes` long."""
    part = ("//" + "x" * 60 + " \\\"quoted\\\" \\\\ path\\n") * 20
    with open(path, "w") as out:
        out.write(HEADER % os.path.basename(path))
        out.write('createNode script -n "bigScript";\n\tsetAttr ".b" -type "string" (\n\t\t"start\\n"\n')
        written = 0
        while written < megabytes << 20:
            out.write('\t\t+ "%s"\n' % part)
            written += len(part)
        out.write('\t\t);\n\tsetAttr ".st" 1;\n')
        out.write(TRAILER)
        out.write("// End of %s\n" % os.path.basename(path))
    return 3 + 2 + 5


CHILD = r"""
import os, resource, sys, time
sys.path[0:0] = [sys.argv[1], sys.argv[2]]
what, path = sys.argv[3], sys.argv[4]
base = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
start, cpu = time.time(), os.times()
if what == "graph":
    import scenegraph
    graph = scenegraph.Graph()
    graph.add_file(path)
elif what == "open":
    from maya import cmds
    cmds.file(path, open=True, force=True)
    for node_type in ("camera", "script", "renderLayer", "file", "aiStandIn", "xgmPalette", "reference"):
        cmds.ls(type=node_type)
    for shape in cmds.ls(type="camera"):
        cmds.listRelatives(shape, parent=True, path=True)
        cmds.getAttr(shape + ".renderable")
    for script in cmds.ls(type="script"):
        len(cmds.getAttr(script + ".b"))
elif what == "load":
    import mayascene
    scene = mayascene.load(path)
done = os.times()
print("%f %f %d %d" % (time.time() - start, done[0] + done[1] - cpu[0] - cpu[1], base,
                       resource.getrusage(resource.RUSAGE_SELF).ru_maxrss))
"""

ANALYSIS = r"""
import resource, subprocess, sys, time
start = time.time()
code = subprocess.call(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
print("%f %d %d" % (time.time() - start, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss, code))
"""


def measure(what, path):
    out = subprocess.check_output([sys.executable, "-c", CHILD, MODULE_DIR, os.path.join(REPO, "offline", "host"),
                                   what, path]).split()
    return float(out[0]), float(out[1]), int(out[2]) / 1024.0, int(out[3]) / 1024.0


def wc(path):
    start = time.time()
    lines = int(subprocess.check_output(["wc", "-l", path]).split()[0])
    return time.time() - start, lines


def report(name, path, statements, skip_load, analysis):
    mb = os.path.getsize(path) / 1048576.0
    with open(path, "rb") as handle:  # warm the page cache for every contender
        while handle.read(1 << 20):
            pass
    wc_time, lines = wc(path)
    print("\n%s: %.1f MB, %d lines, %d statements" % (name, mb, lines, statements))
    print("  %-9s %8s %8s %12s %12s %10s" % ("", "wall s", "cpu s", "stmts/s", "stmts/cpu s", "peak MB"))
    print("  %-9s %8.3f %8s %12s %12s %10s   (%.0f MB/s)" % ("wc -l", wc_time, "", "", "", "", mb / wc_time))
    for what in ("graph", "open") + (() if skip_load else ("load",)):
        wall, cpu, base, peak = measure(what, path)
        print("  %-9s %8.3f %8.3f %12.0f %12.0f %10.1f   (interpreter %.1f MB; twice the file %.1f MB)" % (
            what, wall, cpu, statements / wall, statements / max(cpu, 1e-9), peak, base, 2 * mb))
    if analysis:
        cli = [sys.executable if sys.version_info[0] == 3 else "python3", os.path.join(REPO, "bin", "vanalyzer-offline"),
               path, "--build-dir", BINARY_DIR]
        out = subprocess.check_output([sys.executable, "-c", ANALYSIS] + cli).split()
        print("  %-9s %8.3f %8s %12s %12s %10.1f   (exit %s; the whole analysis in its host)" % (
            "analysis", float(out[0]), "", "", "", int(out[1]) / 1024.0, out[2].decode()))


GENERATORS = {"chain": chain, "nodes": node_heavy, "script": script_body}


def generate(kind, path, size):
    """Writes a scene in a child, so that this process stays small: a child inherits its parent's
    peak memory, and each figure is a child's."""
    return int(subprocess.check_output([sys.executable, os.path.abspath(__file__), "--generate", kind, path,
                                        str(size)]).strip())


def main():
    if len(sys.argv) == 5 and sys.argv[1] == "--generate":
        print(GENERATORS[sys.argv[2]](sys.argv[3], int(sys.argv[4])))
        return
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--nodes", type=int, default=1000000)
    parser.add_argument("--depth", type=int, default=10000)
    parser.add_argument("--script-mb", type=int, default=300)
    parser.add_argument("--skip-load", action="store_true", help="leave out mayascene.load (the plain way)")
    args = parser.parse_args()
    tmp = tempfile.mkdtemp(prefix="graph-bench-")
    try:
        path = os.path.join(tmp, "chain.ma")
        report("%d-deep DAG chain" % args.depth, path, generate("chain", path, args.depth), args.skip_load, True)
        os.remove(path)
        path = os.path.join(tmp, "nodes.ma")
        report("%d-node scene" % args.nodes, path, generate("nodes", path, args.nodes), args.skip_load, False)
        os.remove(path)
        if args.script_mb:
            path = os.path.join(tmp, "script.ma")
            report("script body of %d MB" % args.script_mb, path, generate("script", path, args.script_mb),
                   args.skip_load, False)
    finally:
        shutil.rmtree(tmp)


if __name__ == "__main__":
    main()
