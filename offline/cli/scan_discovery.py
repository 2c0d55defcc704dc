# -*- coding: utf-8 -*-
"""Which scenes a scan covers: found under the given paths in one stable order, and its shards."""
import os
import re

from .paths import Refusal

SCENE_EXTENSIONS = (".ma", ".mb")


def is_scene_name(name):
    """A Maya ASCII or Maya Binary file by its name, whatever the letter case (libraries from Windows)."""
    return name.lower().endswith(SCENE_EXTENSIONS)


def discover(paths):
    """The absolute paths of the scenes: a file given is taken as it is, a folder is searched recursively
    for .ma and .mb files (symbolic links to folders are not followed, so a loop cannot arise).
    Each scene once, sorted, so that every machine given the same library lists it in the same order."""
    found = set()
    for path in paths:
        absolute = os.path.abspath(path)
        if os.path.isfile(absolute):
            found.add(absolute)
        elif os.path.isdir(absolute):
            for folder, subfolders, files in os.walk(absolute, onerror=_raise):
                found.update(os.path.join(folder, name) for name in files if is_scene_name(name))
        elif os.path.lexists(absolute):
            raise Refusal("%s is neither a file nor a folder" % path)
        else:
            raise Refusal("%s does not exist" % path)
    return sorted(found)


def _raise(error):
    raise Refusal("cannot list the folder %s: %s" % (error.filename, error.strerror or error))


def parse_shard(text):
    """'I/N' -> (I, N), with 0 <= I < N; ValueError with the reason otherwise."""
    match = re.match(r"^\s*(\d+)\s*/\s*(\d+)\s*$", text or "")
    if not match:
        raise ValueError("a shard is I/N, for example 0/4 (got %r)" % text)
    index, count = int(match.group(1)), int(match.group(2))
    if count < 1 or index >= count:
        raise ValueError("shard %d/%d: I must be at least 0 and below N" % (index, count))
    return index, count


def shard(scenes, index, count):
    """The index-th of count disjoint parts of the list, dealt out in turn so that scenes from one folder,
    which often cost alike, spread over every part."""
    return scenes[index::count]
