"""A test double of the host's scene graph, as the reference loader sees it.

Each file's reference records are given per path (the files themselves only need to exist, for
the path rules); the double records what was added, in order, and can refuse to read a file.
"""
from __future__ import print_function


def rdi(depth, namespace, node, path, deferred=False, file_type="mayaAscii", prefix=""):
    """A `file -rdi` line's record."""
    return {"path": path, "namespace": namespace, "prefix": prefix, "reference_node": node, "type": file_type,
            "options": "v=0;", "depth": depth, "top_level": False, "deferred": deferred}


def ref(namespace, node, path, deferred=True, file_type="mayaAscii", prefix=""):
    """A `file -r` line's record (modern files write -dr 1 on all of them)."""
    return {"path": path, "namespace": namespace, "prefix": prefix, "reference_node": node, "type": file_type,
            "options": "v=0;", "depth": 0, "top_level": True, "deferred": deferred}


def pair(namespace, node, path, deferred=False, **kwargs):
    """The rdi line and the `file -r` line of one reference that a file makes itself."""
    return [rdi(1, namespace, node, path, deferred, **kwargs), ref(namespace, node, path, **kwargs)]


def records(*groups):
    """A file's records in the order Maya writes them: every rdi line, then every -r line."""
    flat = [r for group in groups for r in (group if isinstance(group, list) else [group])]
    return [r for r in flat if not r["top_level"]] + [r for r in flat if r["top_level"]]


class GraphDouble(object):
    def __init__(self, scene_path, files, unreadable=None, edit_messages=()):
        self.paths = [scene_path]
        self.files = files  # {path: [reference records]}
        self.unreadable = unreadable or {}  # {path: the exception add_file raises}
        self.added = []  # (path, namespace, prefix, reference_node) in call order
        self.edit_messages = list(edit_messages)
        self.edits_applied = 0

    def add_file(self, path, namespace="", prefix="", reference_node=""):
        if path in self.unreadable:
            raise self.unreadable[path]
        self.added.append((path, namespace, prefix, reference_node))
        self.paths.append(path)
        return len(self.paths) - 1

    def file_info(self, file_id):
        path = self.paths[file_id]
        return {"path": path, "references": self.files.get(path, [])}

    def apply_reference_edits(self):
        self.edits_applied += 1
        return self.edit_messages
