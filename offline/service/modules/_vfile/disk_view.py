# -*- coding: utf-8 -*-
"""A per-run view of the disk: every folder is listed at most once.

Path resolution, pattern expansion and ``vutils.getRealDiskPath`` ask the
view whether a name exists, which names a folder holds, and which of them
match a name ignoring letter case.  A folder's listing is read on first use
and kept for the run; a file created after its folder was listed is not seen
in that run.  A folder that cannot be listed (absent, not a folder, no read
permission) answers through ``os.path.lexists`` per name instead, as does any
name on a file system that ignores letter case (Windows).

The analyzer's run starts with ``vfile.getAssets``, which begins a new view
(``begin_run``); the other gatherers and ``getRealDiskPath`` use that view
until the result is delivered (``vout.OutResult``) or the next run begins.
Called outside a run they get a view of their own for the one call.
"""
from __future__ import print_function

import errno
import os
import threading

import servicepaths
import vout

# On a file system that ignores letter case a name missing from the listing
# may still exist in another spelling.
CASE_BLIND = os.path.normcase("A") != "A"


class _Folder(object):
    """One folder's listing: its names held in C++ (servicepaths), a few bytes a name, so that a
    folder of a million files the scene takes one texture from costs little; the sorted names are
    made when first asked for."""

    __slots__ = ("names", "listed", "absent", "_sorted")

    def __init__(self, names, listed, absent=False):
        self.names = names        # a servicepaths listing; empty when the folder could not be listed
        self.listed = listed
        self.absent = absent      # not a folder at all: nothing is under it
        self._sorted = None

    def holds(self, name):
        return servicepaths.listing_holds(self.names, name)

    def sorted_names(self):
        if self._sorted is None:
            self._sorted = servicepaths.listing_names(self.names)
        return self._sorted

    def starting(self, prefix):
        return servicepaths.listing_names(self.names, prefix) if prefix else self.sorted_names()

    def folding(self, head):
        found = servicepaths.listing_names_folding(self.names, head)
        return self.sorted_names() if found is None else found

    def matching_case(self, name):
        """The names equal to name ignoring letter case, in sorted order."""
        return servicepaths.listing_matching_case(self.names, name)


_NOTHING = servicepaths.listing_of(())


_WINDOWS = os.sep == "\\"


def split(path):
    """(folder, name) of a path; the folder as it is listed ("." for the working folder)."""
    if isinstance(path, bytes):
        separators, colon, here = (b"/\\" if _WINDOWS else b"/"), b":", b"."
        cut = max(path.rfind(b"/"), path.rfind(b"\\")) if _WINDOWS else path.rfind(b"/")
    else:
        separators, colon, here = ("/\\" if _WINDOWS else "/"), ":", "."
        cut = max(path.rfind("/"), path.rfind("\\")) if _WINDOWS else path.rfind("/")
    if cut < 0:
        return path[:0] + here, path  # of the path's own type (2.7: unicode for unicode)
    folder = path[:cut]
    if folder[-1:] in separators or not folder or folder[-1:] == colon:
        folder = folder.rstrip(separators)
        if not folder or folder[-1:] == colon:
            folder = path[:len(folder) + 1]  # the root itself: "/", "C:/"
    return folder, path[cut + 1:]


class DiskView(object):
    def __init__(self):
        # byte and text folder names apart: on 2.7 "a" == u"a", yet their listings differ in type
        self._texts = {}
        self._bytes = {}
        self._lock = threading.Lock()
        self._listing = {}  # folder -> lock held by the thread that lists it

    def folder(self, folder):
        """The listing of a folder, read once."""
        folders = self._bytes if isinstance(folder, bytes) else self._texts
        entry = folders.get(folder)
        if entry is not None:
            return entry
        key = (folders is self._bytes, folder)
        with self._lock:
            entry = folders.get(folder)
            if entry is not None:
                return entry
            gate = self._listing.get(key)
            owner = gate is None
            if owner:
                gate = self._listing[key] = threading.Lock()
                gate.acquire()
        if not owner:
            # another thread is listing it: wait for its answer
            with gate:
                return folders[folder]
        try:
            try:
                entry = _Folder(servicepaths.list_folder(folder), True)
            except (OSError, IOError) as error:
                entry = _Folder(_NOTHING, False, error.errno in (errno.ENOENT, errno.ENOTDIR))
            except (TypeError, ValueError):  # a name the system cannot take (a NUL inside)
                entry = _Folder(_NOTHING, False, True)
            folders[folder] = entry
        finally:
            with self._lock:
                del self._listing[key]
            gate.release()
        return entry

    def exists(self, path):
        """True when the path names something on disk (a broken link included, as lexists)."""
        # most paths asked about are in a folder listed already, and there: answered in C++
        return (not _WINDOWS and servicepaths.listed_holds(path, self._texts, self._bytes)) or self._exists(path)

    def _exists(self, path):
        if not path:
            return False
        folder, name = split(path)
        if name in _SPECIAL_NAMES:
            return os.path.lexists(path)
        entry = (self._bytes if isinstance(path, bytes) else self._texts).get(folder) or self.folder(folder)
        if entry.holds(name):
            return True
        if entry.absent:
            return False
        if not entry.listed or CASE_BLIND:
            return os.path.lexists(path)
        return False

    def is_folder(self, folder):
        return self.folder(folder).listed

    def spelled(self, folder, name, fold_case):
        """The name as the folder holds it: itself when present, else (fold_case) the first
        entry equal to it ignoring letter case; None when there is none."""
        entry = self.folder(folder)
        if entry.holds(name):
            return name
        if fold_case:
            matches = entry.matching_case(name)
            if matches:
                return matches[0]
        if not entry.absent and (not entry.listed or CASE_BLIND) and name not in _SPECIAL_NAMES \
                and os.path.lexists(os.path.join(folder, name)):
            return name
        return None

    def names(self, folder):
        """The names a folder holds, sorted (empty when it cannot be listed)."""
        return self.folder(folder).sorted_names()

    def names_starting(self, folder, prefix):
        """The names of a folder that begin with prefix, in sorted order."""
        return self.folder(folder).starting(prefix)

    def names_folding(self, folder, head):
        """The names of a folder that may begin with head ignoring letter case, in sorted order:
        a pattern matched ignoring case then tries those, not every name of its folder."""
        return self.folder(folder).folding(head)

    def matching_case(self, folder, name):
        """The folder's names that equal name ignoring letter case, in sorted order."""
        return self.folder(folder).matching_case(name)


_SPECIAL_NAMES = frozenset(["", ".", "..", b"", b".", b".."])

_run = {"view": None}


def begin_run():
    """A fresh view for a new analysis run; returns it."""
    view = DiskView()
    _run["view"] = view
    return view


def end_run():
    _run["view"] = None


def current():
    """The run's view, or a view for this one call when no run is going on."""
    return _run["view"] or DiskView()


vout._when_run_ends(end_run)
