# -*- coding: utf-8 -*-
"""The files each renderer's nodes name, found on disk or recorded as missing.

Each gatherer reads the file attributes its table lists from every node of
those types, resolves them (``asset_references``), expands them against the
disk (``file_patterns``) and records what is missing with ``vout``.  The
frames a node needs are the render range when the scene renders an
animation, otherwise the one frame the node names.
"""
from __future__ import print_function

import collections
import functools
import gc
import gzip
import io
import os
import re

from . import asset_references
from . import disk_view
from . import file_patterns
from . import path_resolution
from . import scene_queries
from . import scene_references
import servicepaths
import vout

# The analyzer's settings as they stand when a gatherer starts (see vfile).
GatherSettings = collections.namedtuple("GatherSettings", "ass_mode seek_all pool_size multi_threads")

_ASS_READ_LIMIT = 64 * 1024 * 1024

# (node type, attribute name groups, kind of file, frame attributes, reads uvTilingMode)
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


def _without_cycle_collection(gatherer):
    """Gathering makes many short-lived objects that hold no cycles; a cyclic collection in the
    meantime would walk every object the host holds (millions for a big scene) for nothing."""
    @functools.wraps(gatherer)
    def gather(*args, **kwargs):
        enabled = gc.isenabled()
        gc.disable()
        try:
            return gatherer(*args, **kwargs)
        finally:
            if enabled:
                gc.enable()
    return gather


def _table_references(table):
    """The references of every node type of a table, one type after another (one ls each), a slice
    at a time."""
    for node_type, attributes, kind, frame_attrs, tiling in table:
        for part in asset_references.node_reference_slices(node_type, attributes, kind, frame_attrs, tiling):
            yield part


def _pooled(settings):
    size = settings.pool_size if isinstance(settings.pool_size, int) else 1
    return settings.multi_threads == 1 and size > 1


def _map(function, items, settings):
    """Disk lookups on a thread pool of the size the settings ask for."""
    if len(items) < 2:
        return [function(item) for item in items]
    from multiprocessing.pool import ThreadPool
    pool = ThreadPool(min(settings.pool_size, len(items)))
    try:
        return pool.map(function, items)
    finally:
        pool.close()
        pool.join()


def _needs_frames(reference):
    return reference.frame_mode or "#" in reference.raw or "<f" in reference.raw.lower()


class _Gathering(object):
    """One gatherer call: its path rules and the render's frames, asked for on first need, and
    what it found. References are resolved and expanded as they come, never all held at once."""

    def __init__(self, settings, scene_path=None):
        self.settings = settings
        self.scene_path = scene_path
        self.resolver = None
        self.group = file_patterns.AssetGroup()
        self._frames = None
        self._frames_asked = False

    def rules(self):
        """The path rules of the open scene, over the run's view of the disk."""
        if self.resolver is None:
            host = scene_queries.cmds()
            scene_path = self.scene_path if self.scene_path is not None else scene_queries.scene_name()
            self.resolver = path_resolution.Resolver(path_resolution.Project(scene_path, host), disk_view.current())
        return self.resolver

    def _frames_for(self, reference):
        # only a reference that can name frames needs them; the others' patterns hold none
        if not _needs_frames(reference):
            return None
        if not self._frames_asked:
            self._frames, self._frames_asked = scene_queries.render_frames(), True
        return self._frames

    def add(self, references):
        """add_slices for references of any kinds, as one slice of their own."""
        return self.add_slices([asset_references.ReferenceSlice(None, list(references))])

    def _resolved(self, reference):
        return self.rules().resolve(reference, self._frames_for(reference))

    def _expand_pooled(self, patterns):
        """The patterns expanded on a thread pool; they were resolved in order, as the log keeps it."""
        settings, group, view = self.settings, self.group, self.resolver.view
        for part in _map(lambda pattern: file_patterns.expand(pattern, settings.seek_all, view), patterns, settings):
            group.add(part)

    def _add_one(self, reference):
        """One reference found on disk, or recorded missing, now."""
        resolver, group = self.rules(), self.group
        if resolver.place_tiled(reference, group.files, group.missingFiles):
            return
        located = resolver.plain(reference)  # most: one name, no pattern to expand
        if located is not None:
            path, present = located
            (group.files if present or resolver.view.exists(path) else group.missingFiles).add(path)
            return
        pattern = resolver.patterned(reference, self._frames_for(reference))
        if pattern.present and not pattern.named_tiles:
            group.files.add(pattern.path)
        else:
            file_patterns.expand(pattern, self.settings.seek_all, resolver.view, group)

    def add_slices(self, slices):
        """The files of references that come a slice at a time (asset_references.ReferenceSlice),
        found on disk or recorded missing in the slices' order (the log's findings keep it); on a
        thread pool, the patterns of all the slices go to one pool."""
        pooled = [] if _pooled(self.settings) else None
        add = self._add_one if pooled is None else lambda reference: self._add_pooled(reference, pooled)
        for part in slices:
            if part.items:
                self._place(part, add)
        if pooled:
            self._expand_pooled(pooled)
        return self.group

    def _add_pooled(self, reference, pooled):
        """_add_one on a thread pool: a tiled name in a planned folder is placed now, every other
        reference resolved now and expanded on the pool."""
        group = self.group
        if not self.rules().place_tiled(reference, group.files, group.missingFiles):
            pooled.append(self._resolved(reference))

    def _place(self, part, add):
        """A slice's paths that name one file each in a planned folder are placed in C++; add takes
        every other reference, as it comes."""
        resolver, group = self.rules(), self.group
        servicepaths.place_names(part.items, lambda folder: resolver.plan(folder, part.kind, None),
                                 lambda item: add(part.reference(item)), resolver.view.exists, group.files,
                                 group.missingFiles)

    def finish(self, label):
        group = self.group
        if self.resolver is not None:
            self.resolver.log_findings()
        vout.RecordMissingFiles(group.missingFiles)
        vout.Info("%s: %d files, %d missing." % (label, len(group.files), len(group.missingFiles)))
        return group


def _reference_assets(gathering):
    """The files of the references the render loads; the missing ones by their unresolved paths."""
    resolver = gathering.rules()
    group = gathering.group
    for reference in scene_references.reference_files(resolver.project.host):
        if reference.deferred:
            vout.Debug("Reference %s is deferred: its file %s is not needed." % (reference.node, reference.path))
            continue
        found = file_patterns.expand(resolver.resolve(asset_references.Reference(reference.path, "scene"), None),
                                     0, resolver.view)
        if not found.files:
            group.missingFiles.add(reference.unresolved)
            continue
        if not reference.loaded:
            why = ("it is not deferred" if reference.deferred is False
                   else "the host does not say whether it is deferred")
            vout.Info("Reference %s is not loaded here, but %s: its file %s is listed for the render." %
                      (reference.node, why, ", ".join(sorted(found.files))))
        group.files |= found.files


@_without_cycle_collection
def scene_assets(scene_path, settings):
    """Files of Maya's own nodes and the scene's references."""
    vout.Info("Gathering scene assets.")
    disk_view.begin_run()
    gathering = _Gathering(settings, scene_path)
    _reference_assets(gathering)
    gathering.add_slices(_table_references(GENERAL_NODES))
    return gathering.finish("Scene assets")


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
    return [asset_references.Reference(raw, "image", base_dir=folder) for raw in _ASS_PARAMETER.findall(text)]


@_without_cycle_collection
def arnold_assets(settings):
    """Arnold's files; with ass_mode 1 also the files its .ass stand-ins name."""
    vout.Info("Gathering Arnold assets.")
    gathering = _Gathering(settings)
    group = gathering.add_slices(_table_references(ARNOLD_NODES))
    if settings.ass_mode == 1:
        for path in sorted(group.files):
            if re.search(r"\.ass(\.gz)?$", path, re.IGNORECASE):
                gathering.add(_ass_references(path))
    return gathering.finish("Arnold assets")


@_without_cycle_collection
def redshift_assets(settings, with_texture_caches):
    """Redshift's files; with_texture_caches adds the .rstexbin caches beside them."""
    vout.Info("Gathering Redshift assets.")
    gathering = _Gathering(settings)
    group = gathering.add_slices(_table_references(REDSHIFT_NODES))
    if with_texture_caches:
        for path in list(group.files):
            cache = os.path.splitext(path)[0] + ".rstexbin"
            if cache != path and file_patterns.exists(cache):
                group.files.add(cache)
    return gathering.finish("Redshift assets")


@_without_cycle_collection
def vray_assets(settings):
    vout.Info("Gathering VRay assets.")
    gathering = _Gathering(settings)
    gathering.add_slices(_table_references(VRAY_NODES))
    return gathering.finish("VRay assets")


@_without_cycle_collection
def renderman_assets(settings):
    vout.Info("Gathering RenderMan assets.")
    gathering = _Gathering(settings)
    gathering.add_slices(_table_references(RENDERMAN_NODES))
    return gathering.finish("RenderMan assets")
