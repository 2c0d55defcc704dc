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

from . import disk_view


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
    (re.compile(r"<udim>|_MAPID_", re.IGNORECASE), "tile", r"1\d{3}"),
    (re.compile(r"<uvtile>|u<u>_v<v>", re.IGNORECASE), "tile", r"u-?\d+_v-?\d+"),
    (re.compile(r"<f>|<frame>", re.IGNORECASE), "frame", r"-?\d+"),
    (re.compile(r"#+"), "frame", None),
]
# every token at once, for splitting a name (tokens never overlap); what each stands for
_ANY_TOKEN = re.compile(r"<udim>|_mapid_|<uvtile>|u<u>_v<v>|<f>|<frame>|#+")  # over the lower-case name
_ANY_TOKEN_FOLDED = re.compile(_ANY_TOKEN.pattern, re.IGNORECASE)
_TOKEN_MEANINGS = {"<udim>": ("tile", r"1\d{3}"), "_mapid_": ("tile", r"1\d{3}"),
                   "<uvtile>": ("tile", r"u-?\d+_v-?\d+"), "u<u>_v<v>": ("tile", r"u-?\d+_v-?\d+"),
                   "<f>": ("frame", r"-?\d+"), "<frame>": ("frame", r"-?\d+")}
_LAST_DIGITS = re.compile(r"(\d+)(?=\D*$)")
_MARI_TILE = re.compile(r"(?<!\d)(1\d{3})(?!\d)(?=\D*$)")
_ZBRUSH_TILE = re.compile(r"u-?\d+_v-?\d+(?=[^/\\]*$)")


class Pattern(object):
    """One referenced name, possibly standing for many files on disk."""

    __slots__ = ("path", "named_tiles", "named_frame", "needed_frames", "fold_case", "present", "shape", "_matches")

    def __init__(self, path, named_tiles=(), named_frame=None, needed_frames=None, fold_case=False, present=False,
                 plain=False):
        self.path = path
        self.named_tiles = named_tiles
        self.named_frame = named_frame
        self.needed_frames = needed_frames
        self.fold_case = fold_case  # a Windows-written name: its tiles and frames match in any letter case
        self.present = present      # a plain name already found on disk
        # plain: the caller knows the name holds no token
        self.shape = None if plain or not may_hold_tokens(path) else _shape(os.path.basename(path))
        self._matches = None

    @property
    def folder(self):
        return os.path.dirname(self.path)

    @property
    def base(self):
        return os.path.basename(self.path)

    @property
    def roles(self):
        return self.shape.roles if self.shape else _NO_ROLES

    @property
    def width(self):
        return self.shape.width if self.shape else None

    @property
    def is_pattern(self):
        return self.shape is not None

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

    def matches(self, view):
        """(name, tile, frame) of every entry of the pattern's folder that it stands for."""
        if self._matches is None:
            self._matches = self.shape.matches(view, self.folder or ".", self.fold_case)
        return self._matches


_NO_ROLES = frozenset()
_CASE_BLIND = os.name == "nt"


def may_hold_tokens(name):
    """False for a name that surely holds no tile or frame token (most names)."""
    return "<" in name or "#" in name or ("_" in name and "_mapid_" in name.lower())


class _Shape(object):
    """A file name split into literal text and tokens, matched against a folder's names.

    A name with one token is matched by its literal head and tail and the
    token's own expression, compiled once per kind of token; a name with
    several tokens (or on a file system that ignores letter case) by a
    regular expression compiled once per distinct name.
    """

    __slots__ = ("literals", "roles", "width", "single", "_token_roles", "_expressions", "_regex", "_folded_regex")

    def __init__(self, literals, token_roles, expressions, width):
        self.literals = literals
        self.roles = frozenset(token_roles)
        self.width = width
        self.single = None
        self._token_roles = token_roles
        self._expressions = expressions
        self._regex = None
        self._folded_regex = None
        if len(token_roles) == 1 and not _CASE_BLIND:
            self.single = (token_roles[0], _token_expression(expressions[0]))

    def _regex_source(self):
        pieces = []
        used = set()
        for literal, role, expression in zip(self.literals, self._token_roles, self._expressions):
            pieces.append(re.escape(literal))
            # a second occurrence of a token repeats the first one's value
            pieces.append("(?P=%s)" % role if role in used else "(?P<%s>%s)" % (role, expression))
            used.add(role)
        pieces.append(re.escape(self.literals[-1]))
        return "^" + "".join(pieces) + "$"

    def _full_regex(self, fold_case):
        if fold_case:
            if self._folded_regex is None:
                self._folded_regex = _compiled(self._regex_source(), True)
            return self._folded_regex
        if self._regex is None:
            self._regex = _compiled(self._regex_source(), _CASE_BLIND)
        return self._regex

    def matches(self, view, folder, fold_case=False):
        found = []
        head, tail = self.literals[0], self.literals[-1]
        if self.single and not fold_case:
            role, expression = self.single
            for name, value in names_between(view, folder, head, tail, expression):
                found.append(_found(name, role, value))
            return found
        regex = self._full_regex(fold_case)
        if _CASE_BLIND:
            names = view.names(folder)
        elif fold_case:
            names = view.names_folding(folder, head)
        else:
            names = view.names_starting(folder, head)
        for name in names:
            hit = regex.match(name)
            if hit:
                groups = hit.groupdict()
                frame = groups.get("frame")
                found.append((name, groups.get("tile"), int(frame) if frame is not None else None))
        return found


def names_between(view, folder, head, tail, expression):
    """(name, what stands between head and tail) of each of the folder's names that is head, a text
    the expression matches whole, and tail, in sorted order."""
    shortest, start = len(head) + len(tail), len(head)
    found = []
    for name in view.names_starting(folder, head):
        if len(name) >= shortest and name.endswith(tail):
            hit = expression.match(name, start, len(name) - len(tail))
            if hit:
                found.append((name, hit.group(0)))
    return found


def _found(name, role, value):
    if role == "frame":
        return name, None, int(value)
    return name, value, None


_TOKEN_EXPRESSIONS = {}
_REGEXES = {}
_REGEX_CACHE_LIMIT = 100000


def _token_expression(expression):
    """A token's expression that must cover the whole span it is matched in."""
    compiled = _TOKEN_EXPRESSIONS.get(expression)
    if compiled is None:
        compiled = _TOKEN_EXPRESSIONS[expression] = re.compile("(?:%s)$" % expression)
    return compiled


def _compiled(source, fold_case):
    key = (source, fold_case)
    regex = _REGEXES.get(key)
    if regex is None:
        if len(_REGEXES) >= _REGEX_CACHE_LIMIT:
            _REGEXES.clear()
        regex = _REGEXES[key] = re.compile(source, re.IGNORECASE if fold_case else 0)
    return regex


def _shape(base):
    """The literal pieces and tokens of a file name; None for a plain name."""
    if not may_hold_tokens(base):
        return None
    literals, roles, expressions = [], [], []
    width = None
    position = 0
    lowered = base.lower()
    # lower-casing keeps every position unless a letter changes length (then the slower way)
    found = _ANY_TOKEN.finditer(lowered) if len(lowered) == len(base) else _ANY_TOKEN_FOLDED.finditer(base)
    for match in found:
        text = match.group(0)
        if text[0] == "#":  # a '#' run: at least that many digits
            width = len(text)
            role, expression = "frame", r"-?\d{%d,}" % width
        else:
            role, expression = _TOKEN_MEANINGS[text.lower()]
        literals.append(base[position:match.start()])
        roles.append(role)
        expressions.append(expression)
        position = match.end()
    if not roles:
        return None
    literals.append(base[position:])
    return _Shape(literals, roles, expressions, width)


def exists(path, view=None):
    return (view or disk_view.current()).exists(path)


def has_any(pattern, view=None):
    """True when the file, or for a pattern any tile or frame of it, is on disk."""
    view = view or disk_view.current()
    if not pattern.is_pattern:
        return view.exists(pattern.path)
    return bool(pattern.matches(view))


def expand(pattern, seek_all, view=None, into=None):
    """(files, missing) of one pattern against the disk, added to into when given;
    seek_all 1 keeps every frame found."""
    view = view or disk_view.current()
    found = into if into is not None else AssetGroup()
    if not pattern.is_pattern:
        if pattern.named_tiles:
            for tile_path in pattern.named_tiles:
                on_disk = _on_disk(view, tile_path, pattern.fold_case)
                if on_disk is None:
                    found.missingFiles.add(tile_path)
                else:
                    found.files.add(on_disk)
            return found
        (found.files if pattern.present or view.exists(pattern.path) else found.missingFiles).add(pattern.path)
        return found
    folder = pattern.folder
    matches = [(os.path.join(folder, name), tile, frame) for name, tile, frame in pattern.matches(view)]
    if not matches:
        found.missingFiles.add(pattern.path)
        return found
    needed = pattern.needed_frames
    if needed is None and pattern.named_frame is not None:
        needed = [pattern.named_frame]
    wanted = set(needed) if needed is not None else None
    for path, tile, frame in matches:
        if frame is None or wanted is None or seek_all == 1 or frame in wanted:
            found.files.add(path)
    if "frame" in pattern.roles and needed is not None:
        tiles = sorted(set(tile for _, tile, _ in matches)) or [None]
        present = set((tile, frame) for _, tile, frame in matches)
        for tile in tiles:
            for frame in needed:
                if (tile, frame) not in present:
                    found.missingFiles.add(pattern.name_for(frame=frame, tile=tile))
    for tile_path in pattern.named_tiles:
        if _on_disk(view, tile_path, pattern.fold_case) is None:
            found.missingFiles.add(tile_path)
    return found


def _on_disk(view, path, fold_case):
    """The path as spelled on disk, or None when absent."""
    if view.exists(path):
        return path
    if fold_case:
        folder, name = os.path.split(path)
        spelled = view.spelled(folder or ".", name, True)
        if spelled is not None:
            return os.path.join(folder, spelled)
    return None


_UDIM = _TOKEN_MEANINGS["<udim>"][1]


def udim_parts(base, tiling):
    """(head, tail, whether the name is one of its tiles) of a file name of a node with that
    uvTilingMode that stands for the UDIM tiles between head and tail and for nothing else: a name
    whose one token is <UDIM> or _MAPID_, or with uvTilingMode 3 the name of one tile and no token.
    None for any other name."""
    if tiling not in (0, 1, 2, 3):
        return None
    tile = _mari_tile(base) if tiling == 3 else None
    if tile:
        return None if may_hold_tokens(base) else (base[:tile[0]], base[tile[1]:], True)
    if tiling in (1, 2) and "<" not in base and _ZBRUSH_TILE.search(base):
        return None  # UV tiles
    lowered = base.lower()
    at = lowered.find("<udim>")
    if at >= 0 and len(lowered) == len(base) and not may_hold_tokens(base[:at]) \
            and not may_hold_tokens(base[at + 6:]):
        return base[:at], base[at + 6:], False  # the usual spelling, told without splitting the name
    shape = _shape(base)
    if shape is None or shape._expressions != [_UDIM]:
        return None
    return shape.literals[0], shape.literals[1], False


def udim_tiles(view, folder, head, tail):
    """names_between for the UDIM tiles between head and tail: (name, tile) of each, in sorted order."""
    return names_between(view, folder, head, tail, _token_expression(_UDIM))


def _mari_tile(base):
    """(start, end) of the UDIM tile Maya reads in a file name of uvTilingMode 3 (the last number,
    of four digits from 1001), else None."""
    match = _MARI_TILE.search(base) if "<" not in base else None
    return match.span() if match else None


def tiled_name(path, tiling):
    """The name with the tile Maya stores replaced by a token, and that tile's name."""
    folder, base = os.path.split(path)
    tile = _mari_tile(base) if tiling == 3 else None
    if tile:
        return os.path.join(folder, base[:tile[0]] + "<UDIM>" + base[tile[1]:]), path
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
