"""Reference-leak check: whole analyses, thousands of times, must not grow anything.

Run with Debian's python3.11-dbg against the reference-counting build (VANALYZER_BINARY_DIR pointing at
it): sys.gettotalrefcount() then sees every reference the module takes and does not give back. The
scene exercises every step: layers, cameras, checks, assets on disk, missing files, codes and messages.
"""
from __future__ import print_function

import gc
import os
import shutil
import sys
import tempfile
import types

sys.path.insert(0, os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "behaviour"))
import support  # noqa: E402
import scenario  # noqa: E402
from support import vanalyzer  # noqa: E402


class Discard(object):
    def write(self, text):
        return len(text)

    def flush(self):
        pass


class FixOutPrefix(object):
    def __init__(self, prefix, sceneName):
        self.prefix = prefix

    def modifyOutPut(self):
        self.prefix = "fixed/" + self.prefix


def install_customisation():
    """A customer module, so that the customisation steps run their whole way too."""
    module = types.ModuleType("vCus")
    module.FixOutPrefix = FixOutPrefix
    sys.modules["vCus"] = module


def prepare(folder):
    textures = []
    for index in range(5):
        path = os.path.join(folder, "tex%d.png" % index)
        with open(path, "w") as texture:
            texture.write("x" * index)
        textures.append(path)
    return textures


def scripted_world(textures):
    world = scenario.reset()
    world.layers = [{"part": "masterLayer", "cameras": ["persp"], "layerFilePrefix": "shots/a", "ext": "exr"},
                    {"part": "layer2", "cameras": [], "layerFilePrefix": "SHOTS/A", "ext": "png"}]
    world.nodes = {"camera": ["perspShape", "topShape"], "script": ["uiConfigurationScriptNode"],
                   "aiAOV": ["aiAOV_diffuse"]}
    world.attributes = {"defaultRenderGlobals.currentRenderer": "arnold",
                        "defaultArnoldRenderOptions.denoiseBeauty": False,
                        "aiAOV_diffuse.denoise": True, "aiAOV_diffuse.name": "diffuse",
                        "uiConfigurationScriptNode.b": "// ui"}
    world.asset_groups = {"getAssets": scenario.AssetGroup(textures, ["/missing/a.png", ""]),
                          "getArnoldAssets": scenario.AssetGroup(textures[:2], ["/missing/b.tx"])}
    world.ini = [{"SKIPPATH": "cache|lib"}]
    return world


def main():
    iterations = int(sys.argv[1]) if len(sys.argv) > 1 else 3000
    folder = tempfile.mkdtemp(prefix="vanalyzer-leak-")
    try:
        support.write_catalogue(folder)
        textures = prepare(folder)
        os.environ.update({"MachineType": "startGpu", "PELKTHREADS": "8", "PELKCUS": "4", "PELKTX": "1",
                           "pelk_Plugins": "vray|3.60.04", "pelk_Machine": "cpu_32c"})
        install_customisation()
        sys.stdout = Discard()

        def analyse():
            scripted_world(textures)
            analyzer = vanalyzer.Maya_Analyzer(0)
            assert analyzer.finalResult

        # Warm up the interpreter's own caches (free lists, method caches, interned names) first.
        for _ in range(max(50, iterations // 4)):
            analyse()
        gc.collect()
        references = sys.gettotalrefcount() if hasattr(sys, "gettotalrefcount") else None
        blocks = sys.getallocatedblocks()
        objects = len(gc.get_objects())
        for _ in range(iterations):
            analyse()
        gc.collect()
        growth = {"allocated blocks": sys.getallocatedblocks() - blocks,
                  "gc objects": len(gc.get_objects()) - objects}
        if references is not None:
            growth["references"] = sys.gettotalrefcount() - references
        sys.stdout = sys.__stdout__
        print("leak check: %d analyses on %s; growth: %s" % (
            iterations, sys.version.split()[0],
            ", ".join("%s %+d" % item for item in sorted(growth.items()))))
        # A leak of one reference or block per analysis shows as +iterations; cache noise stays far below.
        failed = [name for name, value in growth.items() if value > iterations // 10]
        if failed:
            print("leak check FAILED: %s grew" % ", ".join(failed))
            return 1
        return 0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
