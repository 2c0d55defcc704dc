"""The whole command line (bin/vanalyzer-offline) along the "wide" dimensions of a scene, each at a
size N and at 4N, side by side in one run, to show that the analysis grows linearly in each. Not a
test: it prints figures and a verdict per dimension.

Dimensions (bench/breadth_scenes.py, default N): file references to small props on disk, each with
a texture (2,000); a chain of references nested that deep, a texture at each level (250, so that 4N
is the loader's limit of 1,000 levels; a node d levels down carries d namespaces in its name, so
that the names' memory grows with the square of the depth);
render setup layers with their legacy layers (500); legacy render layers with an adjustment each
over 4 cameras (4,000); distinct `requires` plug-in lines (20,000); setAttr reference edits on
distinct attributes of one referenced node (20,000); file textures each in a folder of its own
(5,000); UDIM sets of three tiles in one folder, written on Windows in another letter case (2,000);
one script node's before-script of harmless MEL (4 MB).

The fixed cost (an empty scene end to end) is printed first. For each dimension: the end-to-end
time and the host's peak memory at N and at 4N, the growth (t(4N) - fixed) / (t(N) - fixed) (4 is
exactly linear), the cost per item at 4N above the fixed cost, the number of asset files in each
result (so that one sees the scene was analysed), and "linear" when the growth is under 6, else
"SUPERLINEAR".

Usage: python3 bench/breadth_benchmark.py [--only NAME ...] [--scale K] [--rounds R] [--keep DIR]
       [--python INTERPRETER] [--timeout SECONDS] [--memory-limit MB]
The build is taken from $VANALYZER_BINARY_DIR (default build/release).
"""
from __future__ import print_function

import argparse
import collections
import os
import shutil
import tempfile
import time

from offline_benchmark import MB, Unfinished, row, run_cli
import breadth_scenes
import offline_scenes

# name: (default N, unit of the per-item cost, how a scene of n items is made)
DIMENSIONS = collections.OrderedDict([
    ("references", (2000, "ref", None)),  # made from one set of props, see scenes()
    ("nesting", (250, "level", breadth_scenes.nested_reference_scene)),
    ("setup-layers", (500, "layer", breadth_scenes.setup_layer_scene)),
    ("layers", (4000, "layer", breadth_scenes.legacy_layer_scene)),
    ("requires", (20000, "line", breadth_scenes.requires_scene)),
    ("edits", (20000, "edit", breadth_scenes.edit_scene)),
    ("folders", (5000, "folder", breadth_scenes.folder_scene)),
    ("windows-tiles", (2000, "set", breadth_scenes.windows_tile_scene)),
    ("script", (4, "MB", breadth_scenes.script_scene)),
])
LINEAR_BELOW = 6.0


def sizes(name, scale):
    """N and 4N for a dimension; the script's size is in MB and may be a fraction."""
    size = DIMENSIONS[name][0] * scale
    size = size if name == "script" else max(1, int(round(size)))
    return size, 4 * size


def scenes(folder, wanted, scale):
    """[(name, size, scene at N, scene at 4N)], the references' props made once at 4N."""
    made = []
    for name in wanted:
        small, large = sizes(name, scale)
        if name == "references":
            project, props = breadth_scenes.reference_props(folder, large)
            pair = [breadth_scenes.reference_scene(project, props[:count]) for count in (small, large)]
        else:
            pair = [DIMENSIONS[name][2](folder, count) for count in (small, large)]
        made.append((name, small, pair[0], pair[1]))
    return made


def best(scene, folder, options):
    """The fastest of options.rounds runs: (wall, peak MB, asset files), once a result with a status."""
    wall, _, peak, result = min((run_cli(scene, folder, options) for _ in range(options.rounds)),
                                key=lambda run: run[0])
    if result.get("status") is None:
        raise Unfinished("a result without a status")
    return wall, peak, len(result.get("files", []))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", nargs="*", choices=list(DIMENSIONS))
    parser.add_argument("--scale", type=float, default=1.0, help="multiplies every N (default 1)")
    parser.add_argument("--python", help="the host interpreter (as vanalyzer-offline --python takes it)")
    parser.add_argument("--rounds", type=int, default=3,
                        help="runs of the command line per scene, best kept (default 3: small own times are noisy)")
    parser.add_argument("--keep", help="generate into this folder and keep it")
    parser.add_argument("--timeout", type=int, default=600, help="seconds a run may take (default 600)")
    parser.add_argument("--memory-limit", type=int, default=6144,
                        help="MB of address space a run may take (default 6144)")
    options = parser.parse_args()
    wanted = [name for name in DIMENSIONS if name in (options.only or DIMENSIONS)]

    folder = options.keep or tempfile.mkdtemp(prefix="vanalyzer-breadth-bench-")
    if options.keep and not os.path.isdir(folder):
        os.makedirs(folder)
    try:
        started = time.time()
        made = scenes(folder, wanted, options.scale)
        empty = offline_scenes.empty_scene(folder)
        print("generated %d scenes in %.0f s under %s" % (2 * len(made), time.time() - started, folder))

        fixed, _, baseline, _ = min((run_cli(empty, folder, options) for _ in range(3)), key=lambda run: run[0])
        print("host interpreter %s; an empty scene (the fixed cost): %.2f s end to end, %.0f MB peak"
              % (options.python or "Debian python3", fixed, baseline))
        print()
        print(row("dimension", ["N", "MB at N", "s at N", "peak at N", "s at 4N", "peak at 4N", "growth",
                                "us/item 4N", "files", "verdict"]))
        failures = []
        for name, small, scene, large_scene in made:
            try:
                (wall, peak, files), (wall4, peak4, files4) = [best(s, folder, options)
                                                               for s in (scene, large_scene)]
            except Unfinished as failure:
                failures.append("%s: %s" % (name, failure))
                print(row(name, ["{:,g}".format(small), "%.1f" % (scene.size / MB), "no result"]))
                continue
            own, own4 = wall - fixed, wall4 - fixed
            growth = own4 / own if own > 0 else float("inf")
            unit = DIMENSIONS[name][1]
            items = large_scene.size / MB if name == "script" else 4 * small
            print(row(name, ["{:,g}".format(small), "%.1f" % (scene.size / MB), "%.2f" % wall, "%.0f" % peak,
                             "%.2f" % wall4, "%.0f" % peak4, "%.1f" % growth,
                             "{:,.1f}/{}".format(max(own4, 0.0) / items * 1e6, unit), "%d/%d" % (files, files4),
                             "linear" if growth < LINEAR_BELOW else "SUPERLINEAR"]))
        for line in failures:
            print("  " + line)
    finally:
        if not options.keep:
            shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
