"""Generated Maya ASCII scenes for bench/offline_benchmark.py, each with the files it references.

Every generator writes one scene (with a renderable camera, so that the analysis gathers its
files) and returns a Scene: its path, its statement count and the files on disk it references.
"""
from __future__ import print_function

import io
import os


class Scene(object):
    def __init__(self, name, path, statements, referenced=()):
        self.name = name
        self.path = path
        self.statements = statements
        self.referenced = list(referenced)

    @property
    def size(self):
        return os.path.getsize(self.path)


def _header(name):
    return ('//Maya ASCII 2024 scene\n//Name: %s\n//Codeset: UTF-8\nrequires maya "2024";\n'
            'currentUnit -l centimeter -a degree -t film;\nfileInfo "application" "maya";\n' % name)


_CAMERA = 'createNode transform -n "shotCam";\ncreateNode camera -n "shotCamShape" -p "shotCam";\n'
_CAMERA_STATEMENTS = 2
_HEADER_STATEMENTS = 3


def _touch(path):
    with open(path, "wb") as handle:
        handle.write(b"x")


def texture_scene(root, count, per_folder=1000):
    """count file textures in a project: a tenth missing, a tenth UDIM sets of three tiles, the
    rest plain files (half written project-relative, half absolute), per_folder to a folder."""
    project = os.path.join(root, "textures")
    os.makedirs(os.path.join(project, "scenes"))
    with open(os.path.join(project, "workspace.mel"), "w") as handle:
        handle.write('workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "sourceimages";\n')
    path = os.path.join(project, "scenes", "textures.ma")
    referenced = []
    with io.open(path, "w", encoding="utf-8", newline="\n") as scene:
        scene.write(_header("textures.ma") + _CAMERA)
        for index in range(count):
            folder_name = "d%04d" % (index // per_folder)
            folder = os.path.join(project, "sourceimages", folder_name)
            if index % per_folder == 0:
                os.makedirs(folder)
            kind = index % 10
            if kind == 0:
                written = "sourceimages/%s/gone%07d.png" % (folder_name, index)
            elif kind == 1:
                for tile in (1001, 1002, 1011):
                    tile_path = os.path.join(folder, "skin%07d.%d.exr" % (index, tile))
                    _touch(tile_path)
                    referenced.append(tile_path)
                written = "sourceimages/%s/skin%07d.<UDIM>.exr" % (folder_name, index)
            else:
                name = "tex%07d.png" % index
                _touch(os.path.join(folder, name))
                referenced.append(os.path.join(folder, name))
                written = ("sourceimages/%s/%s" % (folder_name, name) if kind % 2
                           else os.path.join(folder, name).replace(os.sep, "/"))
            scene.write(u'createNode file -n "file%d";\n\tsetAttr ".ftn" -type "string" "%s";\n' % (index, written))
        scene.write(u"// End of textures.ma\n")
    return Scene("%d file textures" % count, path, _HEADER_STATEMENTS + _CAMERA_STATEMENTS + 2 * count, referenced)


def chain_scene(root, depth):
    """A DAG chain depth transforms deep, its camera at the bottom."""
    path = os.path.join(root, "chain", "chain.ma")
    os.makedirs(os.path.dirname(path))
    with io.open(path, "w", encoding="utf-8", newline="\n") as scene:
        scene.write(_header("chain.ma") + u'createNode transform -n "c0";\n')
        for index in range(1, depth):
            scene.write(u'createNode transform -n "c%d" -p "c%d";\n' % (index, index - 1))
        scene.write(u'createNode camera -n "chainCamShape" -p "c%d";\n// End of chain.ma\n' % (depth - 1))
    return Scene("%d-deep DAG chain" % depth, path, _HEADER_STATEMENTS + depth + 1)


def node_scene(root, count, per_group=1000):
    """count transforms, per_group under a group each, one in ten with a translation set."""
    path = os.path.join(root, "nodes", "nodes.ma")
    os.makedirs(os.path.dirname(path))
    statements = _HEADER_STATEMENTS + _CAMERA_STATEMENTS
    with io.open(path, "w", encoding="utf-8", newline="\n") as scene:
        scene.write(_header("nodes.ma") + _CAMERA)
        lines = []
        for index in range(count):
            if index % per_group == 0:
                group = index // per_group
                lines.append(u'createNode transform -n "g%d";\n' % group)
            else:
                lines.append(u'createNode transform -n "n%d" -p "g%d";\n' % (index, group))
            statements += 1
            if index % 10 == 5:
                lines.append(u'\tsetAttr ".t" -type "double3" %d 0 1 ;\n' % index)
                statements += 1
            if len(lines) >= 10000:
                scene.write(u"".join(lines))
                lines = []
        scene.write(u"".join(lines) + u"// End of nodes.ma\n")
    return Scene("%d nodes" % count, path, statements)


def string_scene(root, megabytes):
    """One string attribute of megabytes megabytes (notes on a transform)."""
    path = os.path.join(root, "string", "string.ma")
    os.makedirs(os.path.dirname(path))
    piece = u"lorem ipsum dolor sit amet, consectetur adipiscing elit " * 1170  # about 64 KB
    with io.open(path, "w", encoding="utf-8", newline="\n") as scene:
        scene.write(_header("string.ma") + _CAMERA + u'createNode transform -n "notes";\n\tsetAttr ".nts" -type "string" "')
        written = 0
        while written < megabytes * 1024 * 1024:
            scene.write(piece)
            written += len(piece)
        scene.write(u'";\n// End of string.ma\n')
    return Scene("%d MB string" % megabytes, path, _HEADER_STATEMENTS + _CAMERA_STATEMENTS + 2)


def empty_scene(root):
    """A camera and nothing else: what the interpreter and the analysis cost by themselves."""
    path = os.path.join(root, "empty", "empty.ma")
    os.makedirs(os.path.dirname(path))
    with io.open(path, "w", encoding="utf-8", newline="\n") as scene:
        scene.write(_header("empty.ma") + _CAMERA + u"// End of empty.ma\n")
    return Scene("empty scene", path, _HEADER_STATEMENTS + _CAMERA_STATEMENTS)
