# -*- coding: utf-8 -*-
"""File names that stand for many files, and their expansion against the disk.

A name may hold UDIM tiles (``<UDIM>``, ``<udim>``, ``_MAPID_``), UV tiles
(``<UVTILE>``, ``u<U>_v<V>``) and frame numbers (``#`` runs, ``<f>``,
``<frame>``); a file node's ``uvTilingMode`` and ``useFrameExtension`` turn
the tile or the last number Maya stores in a plain name into such a token.
Every existing tile or needed frame is a file; a needed frame or a named tile
that is absent is missing by its name; a pattern with no tile or frame on disk
at all is missing as the pattern.
"""
from __future__ import print_function

import os
import re


class AssetGroup(object):
    """What a gatherer returns: the files found and the files missing."""

    def __init__(self):
        self.files = set()
        self.missingFiles = set()

    def add(self, other):
        self.files |= other.files
        self.missingFiles |= other.missingFiles


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


def exists(path):
    return os.path.exists(path)


def has_any(pattern):
    """True when the file, or for a pattern any tile or frame of it, is on disk."""
    if not pattern.is_pattern:
        return exists(pattern.path)
    return any(pattern.regex.match(entry) for entry in _list_folder(pattern.folder or "."))


def expand(pattern, seek_all):
    """(files, missing) of one pattern against the disk; seek_all 1 keeps every frame found."""
    found = AssetGroup()
    if not pattern.is_pattern:
        if pattern.named_tiles:
            for tile_path in pattern.named_tiles:
                (found.files if exists(tile_path) else found.missingFiles).add(tile_path)
            return found
        (found.files if exists(pattern.path) else found.missingFiles).add(pattern.path)
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
        if frame is None or needed is None or seek_all == 1 or frame in needed:
            found.files.add(path)
    if "frame" in pattern.roles and needed is not None:
        tiles = sorted(set(tile for _, tile, _ in matches)) or [None]
        present = set((tile, frame) for _, tile, frame in matches)
        for tile in tiles:
            for frame in needed:
                if (tile, frame) not in present:
                    found.missingFiles.add(pattern.name_for(frame=frame, tile=tile))
    for tile_path in pattern.named_tiles:
        if not exists(tile_path):
            found.missingFiles.add(tile_path)
    return found


def tiled_name(path, tiling):
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


def framed_name(path):
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
