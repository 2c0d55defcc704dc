"""Real scenes that this project did not write, analysed with their files laid out on disk.

Each corpus scene is copied into a temporary folder; every file it references (file-bearing
attributes of Maya's and the renderers' nodes, and references) is created there, absolute paths
rewritten into that folder and variables pointed at it, except one file left out on purpose. The
result must then name exactly the created files and the left-out one as missing, and its layers,
cameras and machine verdict must agree with what the scene holds, read through the maya.cmds
stand-in.
"""
import glob
import os
import re

import pytest

import e2e
from cli import paths, preflight

SCENES = sorted(glob.glob(os.path.join(e2e.CORPUS, "*.ma")))

# Node types and the attributes that name a file, from Maya's and the renderers' node references.
FILE_ATTRIBUTES = [
    ("file", "fileTextureName"), ("imagePlane", "imageName"), ("AlembicNode", "abc_File"),
    ("gpuCache", "cacheFileName"), ("audio", "filename"),
    ("aiImage", "filename"), ("aiStandIn", "dso"), ("aiVolume", "filename"), ("aiPhotometricLight", "aiFilename"),
    ("RedshiftProxyMesh", "fileName"), ("RedshiftNormalMap", "tex0"), ("RedshiftBumpMap", "tex0"),
    ("RedshiftDomeLight", "tex0"), ("RedshiftDomeLight", "tex1"), ("RedshiftIESLight", "profile"),
    ("RedshiftSprite", "tex0"), ("RedshiftEnvironment", "tex0"),
    ("VRayMesh", "fileName"), ("VRayLightIESShape", "iesFile"), ("VRayScene", "FilePath"),
    ("PxrTexture", "filename"), ("PxrNormalMap", "filename"), ("PxrBump", "filename"), ("PxrPtexture", "filename"),
    ("PxrDomeLight", "lightColorMap"), ("PxrRectLight", "lightColorMap"), ("PxrRectLight", "iesProfile"),
]

# names that stand for several files (tiles, frames); such references are tolerated, not laid out
_PATTERN = re.compile(r"<udim>|_mapid_|<uvtile>|u<u>_v<v>|<f>|<frame>|#", re.IGNORECASE)
_VARIABLE = re.compile(r"\$\{(\w+)\}|\$(\w+)|%(\w+)%")
_ABSOLUTE = re.compile(r"^(?:/|[A-Za-z]:[\\/]|[\\/]{2})")
_COPY_NUMBER = re.compile(r"\{\d+\}$")
_MACHINE_CODES = set(range(10004, 10010))
_SCENE_ERRORS = {10002, 10003, 10004, 10006, 10008, 10009, 10011, 10019}
PURE_CPU = ("mayaSoftware", "mayaHardware", "mayaHardware2", "mayaVector", "turtle", "renderMan", "mentalRay")

pytestmark = pytest.mark.usefixtures("built")


def _cmds():
    import sys
    binaries = os.path.join(preflight.build_dir(None), "abi3")
    for folder in (os.path.join(paths.OFFLINE_ROOT, "host"), binaries):
        if folder not in sys.path:
            sys.path.insert(0, folder)
    from maya import cmds
    return cmds


def _get(cmds, plug, default=None):
    try:
        value = cmds.getAttr(plug)
    except ValueError:  # the node or attribute is not in the scene
        return default
    return default if value is None else value


# ---------------------------------------------------------------------------
# what the scene holds

def references(cmds):
    """[(raw path, numbered by its node)] of the open scene's file-bearing attributes and references."""
    found = [(_COPY_NUMBER.sub("", path), False) for path in cmds.file(q=True, reference=True) or []]
    for node_type, attribute in FILE_ATTRIBUTES:
        for node in cmds.ls(type=node_type) or []:
            path = _get(cmds, "%s.%s" % (node, attribute), "")
            if not path:
                continue
            # Maya numbers frames and tiles itself on these switches
            numbered = node_type == "file" and bool(_get(cmds, node + ".uvTilingMode", 0)
                                                     or _get(cmds, node + ".useFrameExtension", False))
            found.append((path, numbered))
    return found


def verdict(cmds, machine):
    """(status, code) for the scene's renderer on that machine kind, by the verdict table."""
    renderer = _get(cmds, "defaultRenderGlobals.currentRenderer", "mayaSoftware")
    if renderer in PURE_CPU:
        return (0, None) if machine == "startCpu" else (1, 10005)
    if renderer == "arnold":
        aovs = [n for n in cmds.ls(type="aiAOV") or [] if _get(cmds, n + ".denoise", False) is True]
        if aovs:
            return (2, 10006) if machine == "startCpu" else (1, 10007)
        if _get(cmds, "defaultArnoldRenderOptions.denoiseBeauty", False):
            return (2, 10004) if machine == "startCpu" else (0, None)
        return (1, 10005) if machine == "startGpu" else (0, None)
    if renderer == "vray":
        engine = _get(cmds, "vraySettings.productionEngine", 0)
        if engine in (1, 2) and machine == "startCpu":
            return 2, 10008
        return (1, 10005) if engine == 0 and machine == "startGpu" else (0, None)
    if renderer == "redshift" and machine == "startCpu":
        return 2, 10009
    return 0, None


def _layer_adjustments(cmds, layer):
    """{(node, attribute): value} that the layer overrides."""
    found = {}
    for index in cmds.getAttr(layer + ".adjs", mi=True) or []:
        element = "%s.adjs[%d]" % (layer, index)
        sources = cmds.listConnections(element + ".plg", source=True, destination=False, plugs=True) or []
        if sources:
            node, _, attribute = sources[0].rpartition(".")
            found[(node, attribute)] = cmds.getAttr(element + ".val")
    return found


def layers(cmds, cameras, saved_in_default):
    """[(part, cameras)] of the renderable layers; cameras only when the scene was saved in the
    default layer (otherwise the stored values are another layer's)."""
    setup_layers = cmds.ls(type="renderSetupLayer") or []
    expected = []
    for layer in cmds.ls(type="renderLayer") or []:
        if ":" in layer or _get(cmds, layer + ".renderable", True) is False:
            continue
        if layer == "defaultRenderLayer":
            part = "masterLayer"
        elif layer.startswith("rs_") and layer[3:] in setup_layers:
            part = layer[3:]
        else:
            part = layer
        on = None
        if saved_in_default:
            adjusted = _layer_adjustments(cmds, layer)
            on = []
            for shape, transform in cameras:
                value = adjusted.get((shape, "renderable"), adjusted.get((shape, "rnd")))
                if value is None:
                    value = _get(cmds, shape + ".renderable", True)
                if value:
                    on.append(transform)
        expected.append((part, on))
    return expected


def camera_shapes(cmds):
    return [(shape, (cmds.listRelatives(shape, parent=True, fullPath=True) or [shape])[0])
            for shape in cmds.ls(type="camera") or []]


# ---------------------------------------------------------------------------
# laying the files out

def _quoted(text):
    return '"%s"' % text.replace("\\", "\\\\").replace('"', '\\"')


def _pattern_regex(path, numbered):
    """Any name the reference may stand for, as found or as reported missing."""
    folder, name = os.path.split(path)
    if numbered:  # the frame or tile Maya stores in the name stands for any other
        name = re.sub(r"\d+(?=\D*$)", "\0", name)
    pieces = re.split(_PATTERN.pattern + "|\0", name, flags=re.IGNORECASE)
    return re.compile("^%s%s$" % (re.escape(os.path.join(folder, "")), ".+".join(re.escape(p) for p in pieces)))


class Layout(object):
    """The scene copied into root, its files created there, one left out."""

    def __init__(self, scene, root):
        self.root = root
        self.scene = os.path.join(root, "scenes", os.path.basename(scene))
        os.makedirs(os.path.dirname(self.scene))
        cmds = _cmds()
        cmds.file(scene, open=True, force=True)
        raw = references(cmds)
        with open(scene, "rb") as handle:
            text = handle.read().decode("utf-8", "surrogateescape")
        self.env = {}
        for path, _ in raw:
            for match in _VARIABLE.finditer(path):
                name = next(group for group in match.groups() if group)
                self.env[name] = os.path.join(root, "env", name)
            if _ABSOLUTE.match(path) or "\\" in path:
                text = text.replace(_quoted(path), _quoted(self._inside(path)))
        with open(self.scene, "wb") as handle:
            handle.write(text.encode("utf-8", "surrogateescape"))

        cmds.file(self.scene, open=True, force=True)
        self.patterns = []
        wanted = set()
        for path, numbered in references(cmds):
            expected = self.expected(path)
            if numbered or _PATTERN.search(path):
                self.patterns.append(_pattern_regex(expected, numbered))
            elif expected.startswith(root + os.sep):
                wanted.add(expected)
            else:  # a path the copy could not bring inside: allowed as found or missing, never created
                self.patterns.append(re.compile("^%s$" % re.escape(expected)))
        wanted = sorted(wanted)
        # with a single file, keep it so that the files list is checked too
        self.left_out = wanted[:1] if len(wanted) > 1 else []
        self.created = wanted[len(self.left_out):]
        for index, path in enumerate(self.created):
            if not os.path.isdir(os.path.dirname(path)):
                os.makedirs(os.path.dirname(path))
            with open(path, "wb") as handle:
                handle.write(b"x" * (index + 1))
        self.cmds = cmds

    def _inside(self, path):
        path = path.replace("\\", "/")
        if not _ABSOLUTE.match(path):
            return path
        drive, rest = re.match(r"^(?:([A-Za-z]):)?/*(.*)$", path).groups()
        return "/".join([self.root.replace("\\", "/"), "disk", drive or "root", rest])

    def expected(self, path):
        """Where the analysis should look for a path of the copied scene."""
        path = _VARIABLE.sub(lambda m: self.env[next(g for g in m.groups() if g)], path)
        if not _ABSOLUTE.match(path):
            path = os.path.join(os.path.dirname(self.scene), path)
        return os.path.normpath(path)

    def tolerated(self, path):
        return any(pattern.match(path) for pattern in self.patterns)


def environment(extra):
    env = dict((k, v) for k, v in os.environ.items() if not k.startswith(("PELK", "PLEK", "pelk_", "MachineType")))
    env.update(extra)
    return env


@pytest.fixture(params=SCENES or ["<no corpus>"], ids=os.path.basename)
def corpus_scene(request):
    if not os.path.isfile(request.param):
        e2e.unavailable("corpus not found at %s (set VANALYZER_CORPUS)" % e2e.CORPUS)
    return request.param


def test_corpus_results_agree_with_the_scene(corpus_scene, tmp_path):
    layout = Layout(corpus_scene, str(tmp_path))
    cmds = layout.cmds
    cameras = camera_shapes(cmds)
    saved_in_default = cmds.editRenderLayerGlobals(q=True, currentRenderLayer=True) == "defaultRenderLayer"
    expected_layers = layers(cmds, cameras, saved_in_default)
    renderer = _get(cmds, "defaultRenderGlobals.currentRenderer", "mayaSoftware")
    for machine in ("startCpu", "startGpu"):
        code, result, err = e2e.analyse(layout.scene, "--machine-type", machine, env=environment(layout.env))
        assert result is not None, err
        what = "%s on %s" % (os.path.basename(corpus_scene), machine)
        model = result["model"]
        assert (code, model["scenePath"]) == (result["status"], layout.scene), what

        assert model["allCameras"] == [transform for _, transform in cameras], what
        assert [part["part"] for part in model["parts"]] == [part for part, _ in expected_layers], what
        for part, (name, on) in zip(model["parts"], expected_layers):
            assert set(part["cameras"]) <= set(model["allCameras"]), (what, name)
            if on is not None:
                assert part["cameras"] == on, (what, name)
        if saved_in_default and model["parts"] and model["parts"][0]["part"] == "masterLayer":
            assert model["parts"][0]["renderer"] == renderer, what

        status, machine_code = verdict(cmds, machine)
        codes = [message["code"] for message in result["msg"]]
        assert [c for c in codes if c in _MACHINE_CODES] == ([machine_code] if machine_code else []), what
        assert result["status"] >= status, what
        if result["status"] == 2:
            # a scene-level error, named by its code; the assets are then not collected
            assert set(codes) & _SCENE_ERRORS and result["files"] == [], what
            continue

        files = set(result["files"])
        missing = set(e2e.missing_in_messages(result))
        assert sorted(f for f in files if not layout.tolerated(f)) == layout.created, what
        assert sorted(m for m in missing if not layout.tolerated(m)) == layout.left_out, what
        assert (10001 in codes) == bool(missing) and result["status"] >= (1 if missing else 0), what
