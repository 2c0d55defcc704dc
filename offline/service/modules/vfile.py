# -*- coding: utf-8 -*-
"""Asset gathering, render-layer records, settings and configuration of the
offline service, over the ``maya.cmds`` command layer.

Relative paths are resolved as Maya does for a scene opened from a project:
against the project root (the nearest folder at or above the scene's folder
that holds ``workspace.mel``), then the project's folder for that kind of file
(``sourceimages`` for images, ``scenes`` for references, ``cache`` for
caches), then the scene's own folder.  The first place where the file (or,
for a pattern, any tile or frame of it) exists wins; when none has it the
first place is reported.  ``$VAR``, ``${VAR}`` and ``%VAR%`` are expanded
from the environment first.

Patterns are expanded against the disk: UDIM tiles (``<UDIM>``, ``<udim>``,
``_MAPID_``, a file node's ``uvTilingMode`` with the tile Maya stores in the
name), UV tiles (``<UVTILE>``, ``u<U>_v<V>``) and frame numbers (``#``
runs, ``<f>``, ``<frame>``, ``useFrameExtension``).  The frames a node needs
are the render range when the scene renders an animation, otherwise the one
frame the node names.  Every existing tile or needed frame is a file; a needed
frame or a named tile that is absent is missing by its name; a pattern with no
tile or frame on disk at all is missing as the pattern.

Settings the analyzer writes before gathering:
  assMode      1: also read Arnold .ass stand-in files (plain or gzip) and
               gather the files they name (``filename`` and ``dso``)
  SeekAllAss   1: every frame of a sequence found on disk, not only the
               frames the render needs
  maxPoolSize, mulitThreads
               with mulitThreads 1 and a pool above 1, disk lookups run on
               that many threads
"""
from __future__ import print_function

import gzip
import io
import os
import re

import vout

assMode = 0
SeekAllAss = 0
maxPoolSize = 1
mulitThreads = 0

_ASS_READ_LIMIT = 64 * 1024 * 1024
_FRAME_LIMIT = 100000


def _cmds():
    from maya import cmds
    return cmds


class AssetGroup(object):
    """What a gatherer returns: the files found and the files missing."""

    def __init__(self):
        self.files = set()
        self.missingFiles = set()

    def add(self, other):
        self.files |= other.files
        self.missingFiles |= other.missingFiles


# ---------------------------------------------------------------------------
# host queries

def _get(node, names, default=None):
    """The first of the attribute names that the host answers for node."""
    cmds = _cmds()
    for name in names:
        try:
            return cmds.getAttr("%s.%s" % (node, name))
        except Exception:
            continue
    return default


def _ls(node_type):
    try:
        return list(_cmds().ls(type=node_type) or [])
    except Exception as error:
        vout.Debug("ls type %s failed: %s" % (node_type, error))
        return []


def _scene_name():
    try:
        return _cmds().file(q=True, sn=True) or ""
    except Exception:
        return ""


# ---------------------------------------------------------------------------
# paths

_ENV_VAR = re.compile(r"\$\{(\w+)\}|\$(\w+)|%(\w+)%")
_WINDOWS_ABS = re.compile(r"^(?:[A-Za-z]:[\\/]|[\\/]{2})")
_PROJECT_FOLDERS = {"image": "sourceimages", "scene": "scenes", "cache": "cache"}


def _expand_vars(path):
    def value(match):
        name = match.group(1) or match.group(2) or match.group(3)
        return os.environ.get(name, match.group(0))
    return _ENV_VAR.sub(value, path)


def _is_absolute(path):
    return path.startswith("/") or bool(_WINDOWS_ABS.match(path))


def _normalise(path):
    # foreign (Windows) paths on this platform are kept as written
    if os.sep == "/" and "\\" in path and not path.startswith("/"):
        return path
    return os.path.normpath(path)


def _project_root(scene_dir):
    folder = scene_dir
    while folder:
        if os.path.isfile(os.path.join(folder, "workspace.mel")):
            return folder
        parent = os.path.dirname(folder)
        if parent == folder:
            return None
        folder = parent
    return None


class _Places(object):
    """Where relative paths of one scene are looked for."""

    def __init__(self, scene_path):
        scene_path = scene_path or ""
        self.scene_dir = os.path.dirname(os.path.abspath(scene_path)) if scene_path else os.getcwd()
        self.project = _project_root(self.scene_dir)

    def candidates(self, relative, kind):
        bases = []
        if self.project:
            bases.append(self.project)
            folder = _PROJECT_FOLDERS.get(kind)
            if folder:
                bases.append(os.path.join(self.project, folder))
        bases.append(self.scene_dir)
        seen = []
        for base in bases:
            path = _normalise(os.path.join(base, relative))
            if path not in seen:
                seen.append(path)
        return seen


# ---------------------------------------------------------------------------
# patterns

# token -> (role, regular expression of what it stands for)
_TOKENS = [
    (re.compile(r"<udim>|_MAPID_", re.IGNORECASE), "tile", r"(?P<tile>1\d{3})"),
    (re.compile(r"<uvtile>|u<u>_v<v>", re.IGNORECASE), "tile", r"(?P<tile>u-?\d+_v-?\d+)"),
    (re.compile(r"<f>|<frame>", re.IGNORECASE), "frame", r"(?P<frame>-?\d+)"),
    (re.compile(r"#+"), "frame", None),
]
_LAST_DIGITS = re.compile(r"(\d+)(?=\D*$)")
_MARI_TILE = re.compile(r"(?<!\d)(1\d{3})(?!\d)(?=\D*$)")
_ZBRUSH_TILE = re.compile(r"u-?\d+_v-?\d+(?=[^/\\]*$)")


class Pattern(object):
    """One referenced name, possibly standing for many files on disk."""

    def __init__(self, path, named_tiles=(), named_frame=None, needed_frames=None):
        self.path = path
        self.named_tiles = list(named_tiles)
        self.named_frame = named_frame
        self.needed_frames = needed_frames
        folder, base = os.path.split(path)
        self.folder = folder
        self.base = base
        self.regex, self.width, self.roles = _compile(base)

    @property
    def is_pattern(self):
        return bool(self.roles)

    def name_for(self, frame=None, tile=None):
        base = self.base
        for token, role, _ in _TOKENS:
            if role == "frame" and frame is not None:
                if token.pattern == "#+":
                    base = token.sub(lambda m: "%0*d" % (len(m.group(0)), frame), base)
                else:
                    base = token.sub(lambda m: "%0*d" % (self.width or 1, frame), base)
            if role == "tile" and tile is not None:
                base = token.sub(str(tile), base)
        return os.path.join(self.folder, base)


def _compile(base):
    """(regex over folder entries, frame padding, roles present) for a file name."""
    spans = []
    width = None
    for token, role, expression in _TOKENS:
        for match in token.finditer(base):
            if any(start < match.end() and match.start() < end for start, end, _, _ in spans):
                continue
            if expression is None:  # a '#' run: at least that many digits
                width = len(match.group(0))
                spans.append((match.start(), match.end(), role, r"(?P<frame>-?\d{%d,})" % width))
            else:
                spans.append((match.start(), match.end(), role, expression))
    spans.sort()
    pieces = []
    used = set()
    position = 0
    for start, end, role, expression in spans:
        pieces.append(re.escape(base[position:start]))
        # a second occurrence of a token repeats the first one's value
        pieces.append("(?P=%s)" % role if role in used else expression)
        used.add(role)
        position = end
    pieces.append(re.escape(base[position:]))
    flags = re.IGNORECASE if os.name == "nt" else 0
    return re.compile("^" + "".join(pieces) + "$", flags), width, used


def _list_folder(folder):
    try:
        return os.listdir(folder)
    except OSError:
        return []


def _exists(path):
    return os.path.exists(path)


def _expand(pattern):
    """(files, missing) of one pattern against the disk."""
    found = AssetGroup()
    if not pattern.is_pattern:
        if pattern.named_tiles:
            for tile_path in pattern.named_tiles:
                (found.files if _exists(tile_path) else found.missingFiles).add(tile_path)
            return found
        (found.files if _exists(pattern.path) else found.missingFiles).add(pattern.path)
        return found
    matches = []
    for entry in _list_folder(pattern.folder or "."):
        hit = pattern.regex.match(entry)
        if hit:
            frame = hit.groupdict().get("frame")
            matches.append((os.path.join(pattern.folder, entry), hit.groupdict().get("tile"),
                            int(frame) if frame is not None else None))
    if not matches:
        found.missingFiles.add(pattern.path)
        return found
    needed = pattern.needed_frames
    if needed is None and pattern.named_frame is not None:
        needed = [pattern.named_frame]
    for path, tile, frame in matches:
        if frame is None or needed is None or SeekAllAss == 1 or frame in needed:
            found.files.add(path)
    if "frame" in pattern.roles and needed is not None:
        tiles = sorted(set(tile for _, tile, _ in matches)) or [None]
        present = set((tile, frame) for _, tile, frame in matches)
        for tile in tiles:
            for frame in needed:
                if (tile, frame) not in present:
                    found.missingFiles.add(pattern.name_for(frame=frame, tile=tile))
    for tile_path in pattern.named_tiles:
        if not _exists(tile_path):
            found.missingFiles.add(tile_path)
    return found


def _map(function, items):
    """Disk lookups, on a thread pool when the settings ask for one."""
    size = maxPoolSize if isinstance(maxPoolSize, int) else 1
    if mulitThreads == 1 and size > 1 and len(items) > 1:
        from multiprocessing.pool import ThreadPool
        pool = ThreadPool(min(size, len(items)))
        try:
            return pool.map(function, items)
        finally:
            pool.close()
            pool.join()
    return [function(item) for item in items]


# ---------------------------------------------------------------------------
# turning node values into patterns

class _Reference(object):
    """A raw path from the scene with what is known about its tiles and frames."""

    def __init__(self, raw, kind="image", tiling=0, frame_mode=False, named_frame=None,
                 explicit_tiles=(), base_dir=None):
        self.raw = raw
        self.kind = kind
        self.tiling = tiling
        self.frame_mode = frame_mode
        self.named_frame = named_frame
        self.explicit_tiles = list(explicit_tiles)
        self.base_dir = base_dir


def _tiled_name(path, tiling):
    """The name with the tile Maya stores replaced by a token, and that tile's name."""
    folder, base = os.path.split(path)
    if tiling == 3 and "<" not in base:
        match = _MARI_TILE.search(base)
        if match:
            return os.path.join(folder, base[:match.start()] + "<UDIM>" + base[match.end():]), path
    if tiling in (1, 2) and "<" not in base:
        match = _ZBRUSH_TILE.search(base)
        if match:
            return os.path.join(folder, base[:match.start()] + "<UVTILE>" + base[match.end():]), path
    return path, None


def _framed_name(path):
    """The name with its last number replaced by a '#' run of the same width, and that number."""
    folder, base = os.path.split(path)
    if "#" in base or re.search(r"<f>|<frame>", base, re.IGNORECASE):
        return path, None
    stem, dot, ext = base.rpartition(".") if "." in base else (base, "", "")
    match = _LAST_DIGITS.search(stem)
    if not match:
        return path, None
    hashes = "#" * len(match.group(1))
    return (os.path.join(folder, stem[:match.start()] + hashes + stem[match.end():] + dot + ext),
            int(match.group(1)))


def _resolve(reference, places, frames):
    """The pattern for one reference, the relative ones placed as Maya would."""
    raw = _expand_vars(reference.raw.strip())
    if reference.base_dir and not _is_absolute(raw):
        candidates = [_normalise(os.path.join(reference.base_dir, raw))]
    elif _is_absolute(raw):
        candidates = [_normalise(raw)]
    else:
        candidates = places.candidates(raw, reference.kind)
    patterns = [_make_pattern(path, reference, frames) for path in candidates]
    if len(patterns) > 1:
        for pattern in patterns:
            if _has_any(pattern):
                return pattern
    return patterns[0]


def _has_any(pattern):
    if not pattern.is_pattern:
        return _exists(pattern.path)
    return any(pattern.regex.match(entry) for entry in _list_folder(pattern.folder or "."))


def _make_pattern(path, reference, frames):
    named_tiles = []
    named_frame = reference.named_frame
    if reference.tiling in (1, 2, 3):
        path, tile = _tiled_name(path, reference.tiling)
        if tile:
            named_tiles.append(tile)
    elif reference.tiling == 4:
        folder = os.path.dirname(path)
        named_tiles.append(path)
        named_tiles.extend(_normalise(os.path.join(folder, name)) if not _is_absolute(name) else name
                           for name in reference.explicit_tiles)
    if reference.frame_mode:
        path, written = _framed_name(path)
        if named_frame is None:
            named_frame = written
    pattern = Pattern(path, named_tiles, named_frame)
    if "frame" in pattern.roles:
        pattern.needed_frames = frames
    return pattern


def _render_frames():
    """The frames the render covers, or None when only the current frame renders."""
    cmds = _cmds()
    try:
        if not cmds.getAttr("defaultRenderGlobals.animation"):
            return None
    except Exception:
        return None
    start = _get("defaultRenderGlobals", ("startFrame", "fs"), 1)
    end = _get("defaultRenderGlobals", ("endFrame", "ef"), 10)
    step = _get("defaultRenderGlobals", ("byFrameStep", "bfs"), 1) or 1
    try:
        start, end, step = int(round(start)), int(round(end)), max(1, int(round(step)))
    except (TypeError, ValueError):
        return None
    return list(range(start, end + 1, step))[:_FRAME_LIMIT]


def _text_values(node, attribute_groups):
    """The non-empty text values of a node's file attributes."""
    values = []
    for names in attribute_groups:
        value = _get(node, names)
        if isinstance(value, (list, tuple)):
            values.extend(item for item in value if item)
        elif value:
            values.append(value)
    return values


def _node_references(node_type, attribute_groups, kind, frame_attrs=None, tiling=False):
    references = []
    for node in _ls(node_type):
        frame_mode = False
        named_frame = None
        if frame_attrs:
            use_attr, frame_attr, offset_attr = frame_attrs
            frame_mode = bool(_get(node, use_attr, False))
            if frame_mode and frame_attr:
                value = _get(node, frame_attr)
                offset = _get(node, offset_attr, 0) if offset_attr else 0
                if isinstance(value, (int, float)):
                    named_frame = int(round(value + (offset or 0)))
        mode = 0
        explicit = []
        if tiling:
            mode = _get(node, ("uvTilingMode", "uvt"), 0) or 0
            if mode == 4:
                explicit = _explicit_tiles(node)
        for raw in _text_values(node, attribute_groups):
            references.append(_Reference(raw, kind, mode, frame_mode, named_frame, explicit))
    return references


def _explicit_tiles(node):
    cmds = _cmds()
    names = []
    try:
        indices = cmds.getAttr("%s.explicitUvTiles" % node, mi=True) or []
    except Exception:
        return names
    for index in indices:
        name = _get("%s.explicitUvTiles[%d]" % (node, index), ("explicitUvTileName", "eutn"))
        if name:
            names.append(name)
    return names


def _gather(references, places=None):
    places = places or _Places(_scene_name())
    frames = _render_frames() if any(r.frame_mode or "#" in r.raw or "<f" in r.raw.lower()
                                     for r in references) else None
    patterns = [_resolve(reference, places, frames) for reference in references]
    group = AssetGroup()
    for part in _map(_expand, patterns):
        group.add(part)
    return group


def _finish(group, label):
    for path in group.missingFiles:
        vout.RecordMissing(path)
    vout.Info("%s: %d files, %d missing." % (label, len(group.files), len(group.missingFiles)))
    return group


# ---------------------------------------------------------------------------
# the gatherers

_FRAME_ATTRS = (("useFrameExtension", "ufe"), ("frameExtension", "fe"), ("frameOffset", "fo"))

GENERAL_NODES = [
    ("file", [("fileTextureName", "ftn")], "image", _FRAME_ATTRS, True),
    ("imagePlane", [("imageName", "imn")], "image", _FRAME_ATTRS, False),
    ("AlembicNode", [("abc_File", "fn")], "cache", None, False),
    ("gpuCache", [("cacheFileName", "cfn")], "cache", None, False),
    ("audio", [("filename", "f")], "sound", None, False),
]

ARNOLD_NODES = [
    ("aiImage", [("filename",)], "image", None, False),
    ("aiStandIn", [("dso",)], "cache", (("useFrameExtension",), ("frameNumber",), None), False),
    ("aiVolume", [("filename",)], "cache", (("useFrameExtension",), ("frame",), None), False),
    ("aiPhotometricLight", [("aiFilename",)], "image", None, False),
    ("aiMaterialx", [("filename",)], "image", None, False),
]

REDSHIFT_NODES = [
    ("RedshiftProxyMesh", [("fileName", "fn")], "cache",
     (("useFrameExtension",), ("frameExtension",), None), False),
    ("RedshiftNormalMap", [("tex0",)], "image", None, False),
    ("RedshiftBumpMap", [("tex0",)], "image", None, False),
    ("RedshiftDomeLight", [("tex0",), ("tex1",)], "image", None, False),
    ("RedshiftIESLight", [("profile",)], "image", None, False),
    ("RedshiftVolumeShape", [("fileName", "fn")], "cache",
     (("useFrameExtension",), ("frameExtension",), None), False),
    ("RedshiftSprite", [("tex0",)], "image", None, False),
    ("RedshiftEnvironment", [("tex0",), ("tex1",), ("tex2",), ("tex3",), ("tex4",)], "image", None, False),
    ("RedshiftLensDistortion", [("LDimage",)], "image", None, False),
    ("RedshiftBokeh", [("dofBokehImage",)], "image", None, False),
]

VRAY_NODES = [
    ("VRayMesh", [("fileName", "fn")], "cache", None, False),
    ("VRayLightIESShape", [("iesFile",)], "image", None, False),
    ("VRayVolumeGrid", [("inFile", "inPath")], "cache", None, False),
    ("VRayScene", [("FilePath",)], "cache", None, False),
    ("VRayPtex", [("ptexFile",)], "image", None, False),
]

RENDERMAN_NODES = [
    ("PxrTexture", [("filename",)], "image", None, False),
    ("PxrMultiTexture", [("filename%d" % i,) for i in range(10)], "image", None, False),
    ("PxrNormalMap", [("filename",)], "image", None, False),
    ("PxrBump", [("filename",)], "image", None, False),
    ("PxrPtexture", [("filename",)], "image", None, False),
    ("PxrDomeLight", [("lightColorMap",)], "image", None, False),
    ("PxrRectLight", [("lightColorMap",), ("iesProfile",)], "image", None, False),
    ("PxrSphereLight", [("iesProfile",)], "image", None, False),
    ("PxrDiskLight", [("iesProfile",)], "image", None, False),
    ("PxrCylinderLight", [("iesProfile",)], "image", None, False),
    ("PxrGoboLightFilter", [("map",)], "image", None, False),
    ("PxrCookieLightFilter", [("map",)], "image", None, False),
]


def _table_references(table):
    references = []
    for node_type, attributes, kind, frame_attrs, tiling in table:
        references.extend(_node_references(node_type, attributes, kind, frame_attrs, tiling))
    return references


_COPY_NUMBER = re.compile(r"\{\d+\}$")


def getAssets(scenePath):
    """Files of Maya's own nodes and the scene's references."""
    vout.Info("Gathering scene assets.")
    references = []
    try:
        for path in _cmds().file(q=True, reference=True) or []:
            references.append(_Reference(_COPY_NUMBER.sub("", path), "scene"))
    except Exception as error:
        vout.Warring("Reference query failed: %s" % (error,))
    references.extend(_table_references(GENERAL_NODES))
    return _finish(_gather(references, _Places(scenePath)), "Scene assets")


_ASS_PARAMETER = re.compile(r"\b(?:filename|dso)\s+\"([^\"]+)\"")


def _ass_references(path):
    """References named inside an Arnold .ass file."""
    try:
        opener = gzip.open if path.lower().endswith(".gz") else io.open
        with opener(path, "rb") as handle:
            data = handle.read(_ASS_READ_LIMIT)
    except (IOError, OSError) as error:
        vout.Warring("Cannot read %s: %s" % (path, error))
        return []
    text = data.decode("utf-8", "replace")
    folder = os.path.dirname(path)
    return [_Reference(raw, "image", base_dir=folder) for raw in _ASS_PARAMETER.findall(text)]


def getArnoldAssets():
    vout.Info("Gathering Arnold assets.")
    places = _Places(_scene_name())
    group = _gather(_table_references(ARNOLD_NODES), places)
    if assMode == 1:
        nested = []
        for path in sorted(group.files):
            if re.search(r"\.ass(\.gz)?$", path, re.IGNORECASE):
                nested.extend(_ass_references(path))
        if nested:
            group.add(_gather(nested, places))
    return _finish(group, "Arnold assets")


def getRedShiftAssets(GetRSCache=0):
    """Redshift's files; with GetRSCache the .rstexbin texture caches beside them too."""
    vout.Info("Gathering Redshift assets.")
    group = _gather(_table_references(REDSHIFT_NODES))
    if GetRSCache:
        for path in list(group.files):
            cache = os.path.splitext(path)[0] + ".rstexbin"
            if cache != path and _exists(cache):
                group.files.add(cache)
    return _finish(group, "Redshift assets")


def getVRayAssets():
    vout.Info("Gathering VRay assets.")
    return _finish(_gather(_table_references(VRAY_NODES)), "VRay assets")


def getRenerManAssets():
    vout.Info("Gathering RenderMan assets.")
    return _finish(_gather(_table_references(RENDERMAN_NODES)), "RenderMan assets")


# ---------------------------------------------------------------------------
# render layers

_MAYA_IMAGE_FORMATS = {
    0: "gif", 1: "pic", 2: "rla", 3: "tif", 4: "tif", 5: "sgi", 6: "als", 7: "iff", 8: "jpg",
    9: "eps", 10: "iff", 11: "cin", 12: "yuv", 13: "sgi", 19: "tga", 20: "bmp", 23: "yuv",
    31: "psd", 32: "png", 35: "dds", 36: "psd", 40: "exr",
}
_REDSHIFT_IMAGE_FORMATS = {0: "iff", 1: "exr", 2: "png", 3: "tga", 4: "jpg", 5: "tif"}
_EXTENSION_ALIASES = {"jpeg": "jpg", "tiff": "tif", "deepexr": "exr", "openexr": "exr"}


class GetLayersInfo(object):
    """Collects one record per renderable render layer of the open scene."""

    def __init__(self):
        self.cmds = _cmds()

    def getLayersInfo(self, lst):
        default_overrides = self._overrides("defaultRenderLayer")
        cameras = self._camera_shapes()
        for layer in self._layers():
            overrides = self._overrides(layer)
            value = self._value_getter(layer, overrides, default_overrides)
            renderer = value("defaultRenderGlobals", ("currentRenderer", "ren"), "mayaSoftware")
            prefix = value("defaultRenderGlobals", ("imageFilePrefix", "ifp"), None)
            lst.append({
                "part": self._display_name(layer),
                "cameras": [self._transform(shape) for shape in cameras
                            if value(shape, ("renderable", "rnd"), True)],
                "layerFilePrefix": prefix if prefix else None,
                "ext": self._extension(renderer, value),
                "renderer": renderer,
            })
        return lst

    def _layers(self):
        layers = []
        for layer in self.cmds.ls(type="renderLayer") or []:
            if ":" in layer:
                continue  # a referenced scene's layer; Maya never renders it
            renderable = _get(layer, ("renderable", "rndr"), True)
            if renderable or renderable is None:
                layers.append(layer)
        return layers

    def _display_name(self, layer):
        if layer == "defaultRenderLayer":
            return "masterLayer"
        for setup_layer in _ls("renderSetupLayer"):
            for attribute in ("legacyRenderLayer", "lrl"):
                try:
                    sources = self.cmds.listConnections("%s.%s" % (setup_layer, attribute),
                                                        source=True, destination=False) or []
                except Exception:
                    continue
                if layer in sources:
                    return setup_layer
        if layer.startswith("rs_") and layer[3:] in _ls("renderSetupLayer"):
            return layer[3:]
        return layer

    def _camera_shapes(self):
        return list(self.cmds.ls(type="camera") or [])

    def _transform(self, shape):
        parents = self.cmds.listRelatives(shape, parent=True, path=True) or [shape]
        return parents[0]

    def _overrides(self, layer):
        """{(node, attribute): value} of the layer's adjustments."""
        indices = None
        for multi in ("adjustments", "adjs"):
            try:
                indices = self.cmds.getAttr("%s.%s" % (layer, multi), mi=True)
            except Exception:
                continue
            if indices:
                break
        found = {}
        for index in indices or []:
            element = "%s.%s[%d]" % (layer, multi, index)
            # hosts differ in which spelling of the children they answer
            for plug, value in (("plug", "value"), ("plg", "val")):
                try:
                    sources = self.cmds.listConnections("%s.%s" % (element, plug), source=True,
                                                        destination=False, plugs=True)
                    if sources:
                        node, _, attribute = sources[0].rpartition(".")
                        found[(node.split("|")[-1], attribute)] = self.cmds.getAttr("%s.%s" % (element, value))
                        break
                except Exception as error:
                    vout.Debug("Layer adjustment %s.%s unreadable: %s" % (element, plug, error))
        return found

    def _value_getter(self, layer, overrides, default_overrides):
        def value(node, names, default):
            short = node.split("|")[-1]
            for table in (overrides, default_overrides):
                for name in names:
                    if (short, name) in table:
                        return table[(short, name)]
            result = _get(node, names, default)
            return default if result is None and default is not None else result
        return value

    def _extension(self, renderer, value):
        renderer = (renderer or "").lower()
        ext = None
        if renderer == "arnold":
            ext = value("defaultArnoldDriver", ("ai_translator", "aitr"), "exr")
        elif renderer == "redshift":
            ext = _REDSHIFT_IMAGE_FORMATS.get(value("redshiftOptions", ("imageFormat",), 1), "exr")
        elif renderer == "vray":
            ext = value("vraySettings", ("imageFormatStr", "imgfs"), "png")
        elif renderer == "renderman":
            ext = "exr"
        if not ext:
            code = value("defaultRenderGlobals", ("imageFormat", "outf"), 7)
            if code in (50, 51):
                ext = value("defaultRenderGlobals", ("imfPluginKey", "imfkey"), "") or "iff"
            else:
                ext = _MAYA_IMAGE_FORMATS.get(code, "iff")
        ext = ext.split()[0].lower() if ext.split() else "exr"
        return _EXTENSION_ALIASES.get(ext, ext)


# ---------------------------------------------------------------------------
# environment, evaluation, configuration

_JOB_VARIABLE_PREFIXES = ("MAYA_", "MTOA", "ARNOLD", "SOLIDANGLE", "REDSHIFT_", "VRAY_", "RMAN",
                          "RFM", "RENDERMAN", "PXR_", "OCIO", "XGEN_", "PELK")
_SECRET_WORDS = ("TOKEN", "SECRET", "PASSWORD", "PASSWD", "KEY", "CREDENTIAL")


def getEnvDict(GetRSCache=0):
    """NAME=value texts of the renderer-relevant variables present here, sorted by name.

    Secrets are never passed on: a name holding TOKEN, SECRET, PASSWORD, KEY
    or CREDENTIAL is left out.  GetRSCache asks for nothing extra here: the
    render job's Redshift cache folder is REDSHIFT_CACHEPATH when it is set.
    """
    entries = []
    for name in sorted(os.environ):
        upper = name.upper()
        if upper.startswith(_JOB_VARIABLE_PREFIXES) and not any(word in upper for word in _SECRET_WORDS):
            entries.append("%s=%s" % (name, os.environ[name]))
    return entries


_EVALUATION_MODES = {"off": "off", "dg": "off", "serial": "serial", "serialuncached": "serialUncached",
                     "parallel": "parallel"}
_FILE_INFO = re.compile(r'^\s*fileInfo\s+"([^"]*)"\s+"((?:[^"\\]|\\.)*)"\s*;', re.MULTILINE)


def _scene_file_info(scene):
    """The fileInfo pairs of a Maya ASCII scene's header."""
    info = {}
    if not scene or not scene.lower().endswith(".ma"):
        return info
    try:
        with io.open(scene, "rb") as handle:
            head = handle.read(256 * 1024).decode("utf-8", "replace")
    except (IOError, OSError):
        return info
    end = head.find("\ncreateNode ")
    for key, value in _FILE_INFO.findall(head if end < 0 else head[:end]):
        info[key] = value
    return info


def getEvaluation():
    """MEL that sets the scene's evaluation mode.

    The scene's fileInfo "evaluationMode" (off, serial, serialUncached,
    parallel) wins, then VANALYZER_EVALUATION_MODE, then "off": a batch
    render evaluates in DG mode unless told otherwise.
    """
    for source in (_scene_file_info(_scene_name()).get("evaluationMode"),
                   os.environ.get("VANALYZER_EVALUATION_MODE")):
        mode = _EVALUATION_MODES.get((source or "").strip().lower())
        if mode:
            return 'evaluationManager -mode "%s";' % mode
    return 'evaluationManager -mode "off";'


def getIniConfiger(section, key):
    """[{key: value}] from the INI file named by VANALYZER_CONFIG."""
    try:
        from configparser import RawConfigParser
    except ImportError:
        from ConfigParser import RawConfigParser
    path = os.environ.get("VANALYZER_CONFIG")
    if not path:
        raise RuntimeError("no service configuration: VANALYZER_CONFIG is not set")
    if not os.path.isfile(path):
        raise RuntimeError("service configuration %s does not exist" % path)
    parser = RawConfigParser()
    with io.open(path, encoding="utf-8") as handle:
        if hasattr(parser, "read_file"):
            parser.read_file(handle)
        else:
            parser.readfp(handle)
    return [{key: parser.get(section, key)}]
