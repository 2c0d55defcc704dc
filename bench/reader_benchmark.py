"""Maya ASCII reader throughput and peak memory on a generated 200 MB scene, beside `wc -l`.

Usage: python bench/reader_benchmark.py [SIZE_MB]   (VANALYZER_BINARY_DIR: the CMake build dir,
default build/release). Prints figures; asserts nothing. Target: at least a quarter of wc -l's
throughput and a peak memory below half the file size.
"""
from __future__ import print_function

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

HEADER = (
    "//Maya ASCII 2025ff03 scene\n//Name: big.ma\n//Last modified: Thu, Jan 16, 2025 10:00:00 AM\n"
    "//Codeset: UTF-8\nrequires maya \"2025ff03\";\ncurrentUnit -l centimeter -a degree -t film;\n"
    "fileInfo \"application\" \"maya\";\nselect -ne :defaultRenderGlobals;\n"
    "\tsetAttr \".ren\" -type \"string\" \"arnold\";\n"
)


def wrapped(values, per_line):
    lines = []
    for start in range(0, len(values), per_line):
        lines.append("\t\t " + " ".join(values[start:start + per_line]))
    return "\n".join(lines)


def mesh_block(index, rng, vertices=4000):
    """One mesh as Maya writes it: transform, shape, uvs, vertices, edges, faces."""
    coords = ["%g" % round(rng.uniform(-50, 50), 6) for _ in range(vertices * 3)]
    uvs = ["%g" % round(rng.random(), 6) for _ in range(vertices * 2)]
    edges = []
    for e in range(vertices * 2):
        edges.extend([str(e % vertices), str((e + 1) % vertices), "0"])
    faces = []
    for f in range(vertices):
        a, b, c, d = f, (f + 1) % vertices, (f + 2) % vertices, (f + 3) % vertices
        faces.append("\t\tf 4 %d %d %d %d" % (a, b, -c - 1, -d - 1))
        faces.append("\t\tmu 0 4 %d %d %d %d" % (a, b, c, d))
    return "".join([
        'createNode transform -n "mesh%d";\n' % index,
        'createNode mesh -n "meshShape%d" -p "mesh%d";\n' % (index, index),
        '\tsetAttr -k off ".v";\n',
        '\tsetAttr ".uvst[0].uvsn" -type "string" "map1";\n',
        '\tsetAttr -s %d ".uvst[0].uvsp";\n' % vertices,
        '\tsetAttr ".uvst[0].uvsp[0:%d]" -type "float2" %s;\n' % (vertices - 1, wrapped(uvs, 16).lstrip()),
        '\tsetAttr -s %d ".vt";\n' % vertices,
        '\tsetAttr ".vt[0:%d]"  %s;\n' % (vertices - 1, wrapped(coords, 9).lstrip()),
        '\tsetAttr -s %d ".ed";\n' % (vertices * 2),
        '\tsetAttr ".ed[0:%d]"  %s;\n' % (vertices * 2 - 1, wrapped(edges, 15).lstrip()),
        '\tsetAttr -s %d -ch %d ".fc[0:%d]" -type "polyFaces" \n%s;\n' % (vertices, vertices * 4, vertices - 1,
                                                                      "\n".join(faces)),
    ])


def generate(path, size):
    rng = random.Random(5)
    blocks = [mesh_block(i, rng) for i in range(8)]
    written = 0
    index = 0
    with open(path, "w") as out:
        out.write(HEADER)
        while written < size:
            block = blocks[index % len(blocks)].replace("mesh%d" % (index % len(blocks)), "mesh%d" % index)
            out.write(block)
            written += len(block)
            index += 1
        out.write("// End of big.ma\n")
    return index


CHILD = """
import resource, sys, time
sys.path.insert(0, sys.argv[1])
import mayascene
base = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
start = time.time()
scene = mayascene.load(sys.argv[2])
elapsed = time.time() - start
print(elapsed, base, resource.getrusage(resource.RUSAGE_SELF).ru_maxrss, len(scene["nodes"]))
"""


def main():
    size_mb = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    tmp = tempfile.mkdtemp(prefix="reader-bench-")
    try:
        path = os.path.join(tmp, "big.ma")
        meshes = generate(path, size_mb * 1024 * 1024)
        size = os.path.getsize(path)
        with open(path, "rb") as handle:  # warm the page cache for both contenders
            while handle.read(1 << 24):
                pass
        start = time.time()
        lines = subprocess.check_output(["wc", "-l", path]).split()[0]
        wc_time = time.time() - start
        out = subprocess.check_output([sys.executable, "-c", CHILD, MODULE_DIR, path]).split()
        load_time, base_kb, peak_kb, nodes = float(out[0]), int(out[1]), int(out[2]), int(out[3])
        mb = size / 1048576.0
        print("scene: %.1f MB, %s lines, %d meshes, %d nodes read" % (mb, lines.decode(), meshes, nodes))
        print("wc -l:            %8.3f s  %8.1f MB/s" % (wc_time, mb / wc_time))
        print("mayascene.load:   %8.3f s  %8.1f MB/s  (%.2f of wc -l)" % (load_time, mb / load_time,
                                                                      wc_time / load_time))
        print("peak RSS of the loading process: %.1f MB (interpreter before load: %.1f MB); "
              "file size / 2 = %.1f MB" % (peak_kb / 1024.0, base_kb / 1024.0, mb / 2))
    finally:
        shutil.rmtree(tmp)


if __name__ == "__main__":
    main()
