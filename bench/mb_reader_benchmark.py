"""Maya Binary reader throughput and peak memory on a generated 200 MB .mb scene, beside `wc -l`.

Usage: python bench/mb_reader_benchmark.py [SIZE_MB]   (VANALYZER_BINARY_DIR: the CMake build dir,
default build/release). The scene (written by bench/mb_writer.py) is mostly mesh data, as real
shots are: meshes of 1 MB each, with their transforms and file textures. Prints figures; asserts
nothing. Target: at least half of wc -l's throughput and a peak memory below a quarter of the
file's size.
"""
from __future__ import print_function

import os
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(HERE)
BINARY_DIR = os.environ.get("VANALYZER_BINARY_DIR") or os.path.join(REPO, "build", "release")
MODULE_DIR = os.path.join(BINARY_DIR, "py27" if sys.version_info[0] == 2 else "abi3")
sys.path.insert(0, HERE)

import mb_writer  # noqa: E402

CHILD = """
import resource, sys, time
sys.path.insert(0, sys.argv[1])
import mayascene
base = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
start = time.time()
scene = mayascene.load(sys.argv[2])
elapsed = time.time() - start
textures = sum(1 for n in scene["nodes"] if n["type"] == "file")
print(elapsed, base, resource.getrusage(resource.RUSAGE_SELF).ru_maxrss, len(scene["nodes"]), textures)
"""


def main():
    size_mb = int(sys.argv[1]) if len(sys.argv) > 1 else 200
    tmp = tempfile.mkdtemp(prefix="mb-reader-bench-")
    try:
        path = os.path.join(tmp, "big.mb")
        meshes = mb_writer.write_big(path, size_mb << 20, mesh_bytes=1 << 20)
        size = os.path.getsize(path)
        with open(path, "rb") as handle:  # warm the page cache for both contenders
            while handle.read(1 << 24):
                pass
        start = time.time()
        subprocess.check_output(["wc", "-l", path])
        wc_time = time.time() - start
        out = subprocess.check_output([sys.executable, "-c", CHILD, MODULE_DIR, path]).split()
        load_time, base_kb, peak_kb = float(out[0]), int(out[1]), int(out[2])
        nodes, textures = int(out[3]), int(out[4])
        mb = size / 1048576.0
        print("scene: %.1f MB Maya Binary (FOR8), %d meshes, %d nodes and %d file textures read" % (mb, meshes, nodes, textures))
        print("wc -l:            %8.3f s  %8.1f MB/s" % (wc_time, mb / wc_time))
        print("mayascene.load:   %8.3f s  %8.1f MB/s  (%.2f of wc -l's time)" % (load_time, mb / load_time,
                                                                             load_time / wc_time))
        print("peak RSS of the loading process: %.1f MB (interpreter before load: %.1f MB, so the load took "
              "%.1f MB); file size / 4 = %.1f MB" % (peak_kb / 1024.0, base_kb / 1024.0, (peak_kb - base_kb) / 1024.0,
                                                      mb / 4))
    finally:
        shutil.rmtree(tmp)


if __name__ == "__main__":
    main()
