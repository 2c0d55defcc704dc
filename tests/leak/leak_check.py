"""Reference-leak check: whole analyses, scene loads and scene graphs, thousands of times, must not grow
anything.

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


def growth_over(iterations, action):
    """What one run of `action` repeated leaves behind, after the interpreter's caches warmed up."""
    for _ in range(max(50, iterations // 4)):
        action()
    gc.collect()
    references = sys.gettotalrefcount() if hasattr(sys, "gettotalrefcount") else None
    blocks = sys.getallocatedblocks()
    objects = len(gc.get_objects())
    for _ in range(iterations):
        action()
    gc.collect()
    growth = {"allocated blocks": sys.getallocatedblocks() - blocks, "gc objects": len(gc.get_objects()) - objects}
    if references is not None:
        growth["references"] = sys.gettotalrefcount() - references
    return growth


def limit(iterations):
    """A leak of one reference or block per run shows as +iterations, cache noise far below this."""
    return iterations // 10


def confirmed_growth(iterations, action):
    """growth_over; where a figure is over the limit, the lower of it and a second window's: a leak
    grows again in every window, while the allocator's own shuffling of blocks (a few hundred either
    way, the same with or without the module's changes) seldom comes out high twice."""
    growth = growth_over(iterations, action)
    if any(value > limit(iterations) for value in growth.values()):
        again = growth_over(iterations, action)
        growth = dict((name, min(value, again[name])) for name, value in growth.items())
    return growth


def report(what, iterations, growth):
    """Prints the growth and returns whether it stayed within the limit."""
    print("leak check: %d %s on %s; growth: %s" % (
        iterations, what, sys.version.split()[0], ", ".join("%s %+d" % item for item in sorted(growth.items()))))
    failed = [name for name, value in growth.items() if value > limit(iterations)]
    if failed:
        print("leak check FAILED: %s grew" % ", ".join(failed))
    return not failed


def main():
    iterations = int(sys.argv[1]) if len(sys.argv) > 1 else 3000
    folder = tempfile.mkdtemp(prefix="vanalyzer-leak-")
    try:
        support.write_catalogue(folder)
        textures = prepare(folder)
        os.environ.update({"MachineType": "startGpu", "PELKTHREADS": "8", "PELKCUS": "4", "PELKTX": "1",
                           "pelk_Plugins": "vray|3.60.04", "pelk_Machine": "cpu_32c"})
        install_customisation()

        def analyse():
            scripted_world(textures)
            analyzer = vanalyzer.Maya_Analyzer(0)
            assert analyzer.finalResult

        import mayascene
        scene = os.path.join(support.REPOSITORY, "offline", "fixtures", "arnold_layers.ma")
        binary = os.path.join(support.REPOSITORY, "offline", "fixtures", "mb", "arnold_shot_2024.mb")
        truncated = os.path.join(folder, "truncated.ma")
        truncated_binary = os.path.join(folder, "truncated.mb")
        for whole, cut in ((scene, truncated), (binary, truncated_binary)):
            with open(whole, "rb") as source, open(cut, "wb") as target:
                target.write(source.read()[:2000])

        def load_scenes():
            for whole, cut in ((scene, truncated), (binary, truncated_binary)):
                assert mayascene.load(whole)
                try:
                    mayascene.load(cut)
                except mayascene.ParseError:
                    pass

        import scenegraph
        graph_fixtures = os.path.join(support.REPOSITORY, "offline", "fixtures", "graph")

        def graph_queries():
            graph = scenegraph.Graph()
            graph.add_file(os.path.join(graph_fixtures, "shot.ma"))
            graph.add_file(os.path.join(graph_fixtures, "set.ma"), namespace="set", reference_node="setRN")
            graph.add_file(os.path.join(graph_fixtures, "chair.ma"), namespace="set:chair")
            os.environ["VANALYZER_MAX_VALUE_BYTES"] = "64"  # its script bodies stay in the file
            graph.add_file(scene, namespace="extra")
            del os.environ["VANALYZER_MAX_VALUE_BYTES"]
            assert graph.file_info(3)["long_values"] and graph.get_attr("extra:uiConfigurationScriptNode.b")
            assert graph.apply_reference_edits()
            assert graph.file_info(1)["references"]
            assert graph.ls(types=["mesh", "camera"], long=True) and graph.ls(patterns=["set:*"])
            assert graph.list_relatives(["set:chair:grp"], all_descendents=True, full_paths=True)
            assert graph.list_connections(["shotTex"], plugs=True, pairs=True)
            assert graph.get_attr("persp.translate") and graph.multi_indices("extra:renderLayerManager.rlmi")
            assert graph.value(graph.find("set:chair:file3"), "ftn") and graph.nodes(types="file")
            # many nodes in one call: answers, a node the graph lacks, a node that is no text
            assert graph.attribute_values(["shotTex", "set:chair:file3", "none", 3],
                                          [(["uvt", "ftn"], ""), (["ftn"], None), ([], 0)])[1][:2]
            for failing in (lambda: graph.get_attr("groundShape.v"), lambda: graph.node_type("none"),
                            lambda: graph.add_file(truncated)):
                try:
                    failing()
                except ValueError:
                    pass

        import servicepaths
        found = {}
        # what a folder plan of the offline service holds (the test doubles stand in for that service)
        plan = types.SimpleNamespace(as_written=set(["a.png"]), written_prefix="/here/",
                                     places=[(set(["b.png"]), "/there/", ("rule",))], missing_prefix="/here/",
                                     found=found)

        # one whose places cannot be listed: only what is found as written is its to answer
        unlisted = types.SimpleNamespace(as_written=set(["a.png"]), written_prefix="/u/", places=None,
                                         missing_prefix="/u/", found=found)
        # a folder's listing held in C++, as the disk view keeps it, answering for a plan too
        open(os.path.join(folder, u"Caf\u00e9.PNG"), "w").close()
        listed = types.SimpleNamespace(as_written=servicepaths.list_folder(folder), written_prefix="/l/",
                                       places=None, missing_prefix="/l/", found=found)
        plans = {"/v/": None, "/u/": unlisted, "/l/": listed}

        def service_paths():
            files, missing = set(), set()
            paths = ["/w/a.png", "/w/b.png", "/w/c.png", "/v/a.png", "/w/<UDIM>.png", 7, u"caf\u00e9/a.png",
                     "/w/\udc80.png", "/u/a.png", "/u/b.png", "/l/tex1.png", "/l/gone.png"]
            servicepaths.place_names(paths, lambda folder: plans.get(folder, plan), lambda item: None,
                                     lambda path: path.endswith("c.png"), files, missing)
            assert servicepaths.locate(unlisted, "b.png") is None
            assert files and servicepaths.locate(plan, "b.png")[1] and servicepaths.folder_and_name("/w/a.png")
            found.clear()
            listing = servicepaths.list_folder(folder)
            assert servicepaths.listing_holds(listing, "tex1.png") and not servicepaths.listing_holds(listing, 7)
            assert servicepaths.listing_names(listing, "tex") and servicepaths.listing_names(listing)
            assert servicepaths.listing_matching_case(listing, u"caf\u00c9.png")
            assert servicepaths.listing_names(servicepaths.listing_of([u"x", u"y"]), u"y") == [u"y"]
            for refused in (os.path.join(folder, "gone"), folder + "\0", None, u"\ud800"):
                try:
                    servicepaths.list_folder(refused)
                except (OSError, ValueError, TypeError):
                    pass
            absent = lambda path: False  # noqa: E731
            for failing in (lambda: servicepaths.place_names(paths, lambda folder: plan, len, absent, files, []),
                            lambda: servicepaths.place_names(paths, lambda folder: 1, len, bool, files, missing),
                            lambda: servicepaths.locate(None, "a.png"),
                            lambda: servicepaths.listing_names(set(["a"])),
                            lambda: servicepaths.listing_of([None]),
                            lambda: servicepaths.listing_names(servicepaths.listing_of([b"x", u"y"]), u"y")):
                try:
                    failing()
                except (TypeError, AttributeError):
                    pass

        sys.stdout = Discard()
        analyses = confirmed_growth(iterations, analyse)
        loads = confirmed_growth(iterations, load_scenes)
        graphs = confirmed_growth(iterations, graph_queries)
        placed = confirmed_growth(iterations, service_paths)
        sys.stdout = sys.__stdout__
        passed = report("analyses", iterations, analyses)
        passed = report("scene loads (a whole and a truncated .ma and .mb)", iterations, loads) and passed
        passed = report("scene graphs (four files, every query, the errors)", iterations, graphs) and passed
        passed = report("service paths (placed, located, listings, the errors)", iterations, placed) and passed
        return 0 if passed else 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
