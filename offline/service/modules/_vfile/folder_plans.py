# -*- coding: utf-8 -*-
"""The places the path rules try for a name written in one folder, worked out once per folder.

A big scene names thousands of files in each of a few folders. Every name written in the same
folder, of the same kind of file, goes through the same places in the same order (the folder as
written, then the project's places), and each place is a folder listed once per run. A plan keeps
those places with their listings, so that each name then costs a set lookup per place.

Only a path whose rules do not depend on its name is planned: one with no variables, no tokens, no
Windows spelling, no surrounding spaces, and no directory mapping in play (which paths, the C++
``servicepaths.folder_and_name`` tells, for the gatherers' every path); the others go through the
rules one by one (``path_resolution``), and so does every path on a file system that ignores letter
case. A plan answers exactly as the rules do: its paths are built by the same normalisation, applied
once to the folder with a stand-in name.
"""
from __future__ import print_function

import os

from . import disk_view
from . import file_patterns
from . import path_text
import servicepaths

# A name in which normalisation changes nothing: what it does to the folder part of a path with this
# name is what it does to every plain name.
_PROBE = "x"
PLANNED_HERE = os.sep == "/" and not disk_view.CASE_BLIND


class FolderPlan(object):
    """Where the names written in one folder are found, in the rules' order. servicepaths reads it:
    locate(plan, name) answers for one name, place_names for a list of paths."""

    __slots__ = ("as_written", "written_prefix", "_places", "missing_prefix", "found")

    def __init__(self, as_written, written_prefix, places, missing_prefix, found):
        self.as_written = as_written          # the written folder's names when it is a folder here
        self.written_prefix = written_prefix
        self._places = places                 # the places, or a callable that works them out
        self.missing_prefix = missing_prefix
        self.found = found                    # the resolver's findings: log key -> [names]

    @property
    def places(self):
        """[(names, path prefix, log key)] of the project's places, in the rules' order, worked out
        when a name is first not found as written; None when one of them cannot be listed: such
        names then go through the rules one by one."""
        if callable(self._places):
            self._places = self._places()
        return self._places


def _prefix(path):
    """The normalised path with the probe name, without that name; None when normalisation did not
    keep the probe as the last part of a path with a folder."""
    return path[:-len(_PROBE)] if path.endswith("/" + _PROBE) else None


def build(resolver, folder, kind, holder):
    """The plan of a folder as written (with its trailing '/') for one kind of file and the file
    that names it; None when a name written there must go through the rules alone."""
    view, project = resolver.view, resolver.project
    probe = folder + _PROBE
    absolute = probe.startswith("/")
    if absolute and project.mapping:
        return None  # a mapping may match the whole path: each path is mapped alone
    as_written = written_prefix = None
    if absolute:
        written_prefix = _prefix(path_text.normalise(probe))
        if written_prefix is None:
            return None
        entry = view.folder(disk_view.split(written_prefix + _PROBE)[0])
        if not entry.listed and not entry.absent:
            return None  # cannot be listed: each name is asked of the system
        as_written = entry.names if entry.listed else None
    if as_written is not None:
        # most names written with a folder of this machine are found there: the places wait
        return FolderPlan(as_written, written_prefix, lambda: _places(resolver, folder, kind, holder),
                          written_prefix, resolver.found)
    places = _places(resolver, folder, kind, holder)
    if places is None:
        return None
    if absolute:
        missing_prefix = written_prefix
    else:
        first = holder or project.root or project.scene_folder or os.getcwd()
        missing_prefix = _prefix(path_text.normalise(os.path.join(first, probe)))
        if missing_prefix is None:
            return None
    return FolderPlan(as_written, written_prefix, places, missing_prefix, resolver.found)


def _places(resolver, folder, kind, holder):
    """The project's places for names written in folder, each with its listing; None when one of
    them cannot be listed."""
    places = []
    known = resolver.place_listings
    written = folder[:-1]
    # a path of this machine's spelling: its places are found in their exact letter case
    for disk_folder, rule, _ in resolver.project_places(written, kind, holder):
        found = known.get(disk_folder)
        if found is None:
            # the project's own folders are places of every written folder: each worked out once
            found = known[disk_folder] = (resolver.view.folder(disk_folder),
                                          _prefix(path_text.normalise(disk_folder.rstrip("/") + "/" + _PROBE)))
        entry, prefix = found
        if not entry.listed or prefix is None:
            return None
        places.append((entry.names, prefix, (rule, disk_folder, written)))
    return places


def folder_and_tiled_name(path):
    """servicepaths.folder_and_name for a path whose name may hold tile tokens: (the folder as
    written with its trailing '/', the name) when a plan can answer for the folder and the name
    holds no variable or backslash and ends in neither space nor a non-ASCII character; None
    otherwise."""
    cut = path.rfind("/")
    name = path[cut + 1:]
    if cut < 0 or not name or not ("!" <= name[-1] <= "~") or "$" in name or "%" in name or "\\" in name:
        return None
    planned = servicepaths.folder_and_name(path[:cut + 1] + _PROBE)
    return (planned[0], name) if planned else None


def place_tiled(plan, view, name, parts, files, missing):
    """A name written in the plan's folder that stands for UDIM tiles, split by
    file_patterns.udim_parts, placed as the rules place it: every tile at the first place that
    holds any (and, for a name that is one of its tiles, that tile missing there when absent), else
    the name with its tiles as one token missing where the plan reports names missing."""
    head, tail, one_of_them = parts
    for prefix, key in _tile_places(plan):
        if prefix is None:
            return False
        folder = os.path.dirname(prefix + name)
        found = [prefix + tile for tile, _ in file_patterns.udim_tiles(view, folder or ".", head, tail)]
        if not found:
            continue
        files.update(found)
        if one_of_them and not view.exists(prefix + name):
            missing.add(prefix + name)
        if key is not None:
            plan.found.setdefault(key, []).append(name)
        return True
    missing.add(plan.missing_prefix + (head + "<UDIM>" + tail if one_of_them else name))
    return True


def _tile_places(plan):
    """(prefix, log key) of the places a plan's tiles are looked for, in order; (None, None) where
    the plan cannot go on (a place that cannot be listed)."""
    if plan.as_written is not None:
        yield plan.written_prefix, None
    places = plan.places
    if places is None:
        yield None, None
        return
    for _, prefix, key in places:
        yield prefix, key
    # the place where names are reported missing may still hold tiles: the rules look there last
    yield plan.missing_prefix, None
