"""Generated scenes for bench/offline_benchmark.py, each with the files it references, in Maya
ASCII or (through bench/mb_writer.py) Maya Binary.

Every generator writes one scene (with a renderable camera, so that the analysis gathers its
files) and returns a Scene: its path, its statement count (nodes and the values set on them, as
the .ma form writes them; the .mb form holds the same) and the files on disk it references.
"""
from __future__ import print_function

import io
import os
import struct

import mb_writer


class Scene(object):
    def __init__(self, name, path, statements, referenced=()):
        self.name = name
        self.path = path
        self.statements = statements
        self.referenced = list(referenced)

    @property
    def size(self):
        return os.path.getsize(self.path)


class AsciiScene(object):
    """Writes nodes as Maya ASCII statements; counts them."""

    extension = ".ma"

    def __init__(self, path):
        self.name = os.path.basename(path)
        self.out = io.open(path, "w", encoding="utf-8", newline="\n")
        self.out.write(u'//Maya ASCII 2024 scene\n//Name: %s\n//Codeset: UTF-8\nrequires maya "2024";\n'
                       u'currentUnit -l centimeter -a degree -t film;\nfileInfo "application" "maya";\n' % self.name)
        self.statements = 3
        self.lines = []

    def _add(self, text, statements):
        self.lines.append(text)
        self.statements += statements
        if len(self.lines) >= 10000:
            self.out.write(u"".join(self.lines))
            self.lines = []

    def transform(self, name, parent=None, translate=None):
        self._add(u'createNode transform -n "%s"%s;\n' % (name, u' -p "%s"' % parent if parent else u""), 1)
        if translate is not None:
            self._add(u'\tsetAttr ".t" -type "double3" %g %g %g ;\n' % translate, 1)

    def camera(self, name, parent):
        self._add(u'createNode camera -n "%s" -p "%s";\n' % (name, parent), 1)

    def file_texture(self, name, path):
        self._add(u'createNode file -n "%s";\n\tsetAttr ".ftn" -type "string" "%s";\n' % (name, path), 2)

    def long_notes(self, node, piece, repeats):
        """A transform whose notes are piece repeated, written as it goes."""
        self._add(u'createNode transform -n "%s";\n' % node, 1)
        self._long_string(u'.nts', piece, repeats)

    def _long_string(self, attribute, piece, repeats):
        """setAttr of a string value of piece repeated, written as it goes, never held whole."""
        self._add(u'\tsetAttr "%s" -type "string" "' % attribute, 1)
        self.out.write(u"".join(self.lines))
        self.lines = []
        for _ in range(repeats):
            self.out.write(piece)
        self.out.write(u'";\n')

    def close(self):
        self.out.write(u"".join(self.lines) + u"// End of %s\n" % self.name)
        self.out.close()


class BinaryScene(object):
    """Writes the same nodes as Maya Binary chunks (FOR8), in the statements' count of the .ma form."""

    extension = ".mb"

    def __init__(self, path):
        self.form = mb_writer.Form(wide=True)
        self.out = mb_writer.Writer(path, self.form)
        self.out.add(self.form.head("2024", file_info=[("application", "maya")]))
        self.statements = 3

    def transform(self, name, parent=None, translate=None):
        chunks = [self.form.double3("t", *translate)] if translate is not None else []
        self.out.add(self.form.node("XFRM", name, parent, flags=mb_writer.CREA_DAG | mb_writer.CREA_TRANSFORM,
                                    chunks=chunks))
        self.statements += 1 + len(chunks)

    def camera(self, name, parent):
        self.out.add(self.form.node("DCAM", name, parent, flags=mb_writer.CREA_DAG))
        self.statements += 1

    def file_texture(self, name, path):
        self.out.add(self.form.node("RTFT", name, chunks=[self.form.string("ftn", path)]))
        self.statements += 2

    def long_notes(self, node, piece, repeats):
        """A transform whose notes string is written as it goes: the chunk sizes are known first."""
        form = self.form
        piece = piece.encode("utf-8")
        text_size = len(piece) * repeats
        group = form.node("XFRM", node, flags=mb_writer.CREA_DAG | mb_writer.CREA_TRANSFORM)
        body = group[len(form.header("FOR8", 0)):]  # the group's type and its CREA chunk
        head = mb_writer.z("nts") + struct.pack(">B", mb_writer.VALUE_FLAGS)
        data_size = len(head) + text_size + 1
        padding = b"\0" * ((form.align - data_size % form.align) % form.align)
        leaf_size = len(form.header("STR ", 0)) + data_size + len(padding)
        self.out.add(form.header("FOR8", len(body) + leaf_size) + body + form.header("STR ", data_size) + head)
        for _ in range(repeats):
            self.out.add(piece)
        self.out.add(b"\0" + padding)
        self.statements += 2

    def close(self):
        self.out.close()


def _writer(binary, path):
    return (BinaryScene if binary else AsciiScene)(path)


def _scene_path(root, name, binary):
    return os.path.join(root, name + (BinaryScene.extension if binary else AsciiScene.extension))


def _touch(path):
    with open(path, "wb") as handle:
        handle.write(b"x")


def texture_files(root, count, per_folder=1000):
    """The project of the texture scene: a tenth of the textures missing, a tenth UDIM sets of three
    tiles, the rest plain files; per_folder to a folder. [(written path, files on disk)] per node."""
    project = os.path.join(root, "textures")
    os.makedirs(os.path.join(project, "scenes"))
    with open(os.path.join(project, "workspace.mel"), "w") as handle:
        handle.write('workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "sourceimages";\n')
    textures = []
    for index in range(count):
        folder_name = "d%04d" % (index // per_folder)
        folder = os.path.join(project, "sourceimages", folder_name)
        if index % per_folder == 0:
            os.makedirs(folder)
        kind = index % 10
        if kind == 0:
            textures.append(("sourceimages/%s/gone%07d.png" % (folder_name, index), []))
        elif kind == 1:
            tiles = [os.path.join(folder, "skin%07d.%d.exr" % (index, tile)) for tile in (1001, 1002, 1011)]
            for tile in tiles:
                _touch(tile)
            textures.append(("sourceimages/%s/skin%07d.<UDIM>.exr" % (folder_name, index), tiles))
        else:
            name = "tex%07d.png" % index
            path = os.path.join(folder, name)
            _touch(path)
            # half written relative to the project, half absolute
            textures.append(("sourceimages/%s/%s" % (folder_name, name) if kind % 2 else path.replace(os.sep, "/"),
                             [path]))
    return project, textures


def texture_scene(project, textures, binary=False):
    """A scene of the project's file textures."""
    path = _scene_path(os.path.join(project, "scenes"), "textures", binary)
    scene = _writer(binary, path)
    _camera(scene)
    referenced = []
    for index, (written, files) in enumerate(textures):
        scene.file_texture("file%d" % index, written)
        referenced.extend(files)
    scene.close()
    return Scene("%d file textures" % len(textures), path, scene.statements, referenced)


def _camera(scene):
    scene.transform("shotCam")
    scene.camera("shotCamShape", "shotCam")


def _folder(root, name):
    folder = os.path.join(root, name)
    if not os.path.isdir(folder):
        os.makedirs(folder)
    return folder


def chain_scene(root, depth, binary=False):
    """A DAG chain depth transforms deep, its camera at the bottom."""
    path = _scene_path(_folder(root, "chain"), "chain", binary)
    scene = _writer(binary, path)
    scene.transform("c0")
    for index in range(1, depth):
        scene.transform("c%d" % index, "c%d" % (index - 1))
    scene.camera("chainCamShape", "c%d" % (depth - 1))
    scene.close()
    return Scene("%d-deep DAG chain" % depth, path, scene.statements)


def node_scene(root, count, per_group=1000, binary=False):
    """count transforms, per_group under a group each, one in ten with a translation set."""
    path = _scene_path(_folder(root, "nodes"), "nodes", binary)
    scene = _writer(binary, path)
    _camera(scene)
    for index in range(count):
        translate = (index, 0, 1) if index % 10 == 5 else None
        if index % per_group == 0:
            group = "g%d" % (index // per_group)
            scene.transform(group, translate=translate)
        else:
            scene.transform("n%d" % index, group, translate)
    scene.close()
    return Scene("%d nodes" % count, path, scene.statements)


def string_scene(root, megabytes, binary=False):
    """One string attribute of megabytes megabytes (notes on a transform)."""
    path = _scene_path(_folder(root, "string"), "string", binary)
    scene = _writer(binary, path)
    _camera(scene)
    piece = u"lorem ipsum dolor sit amet, consectetur adipiscing elit " * 1170  # about 64 KB
    scene.long_notes("notes", piece, megabytes * 1024 * 1024 // len(piece) + 1)
    scene.close()
    return Scene("%d MB string" % megabytes, path, scene.statements)


def empty_scene(root):
    """A camera and nothing else: what the interpreter and the analysis cost by themselves."""
    path = _scene_path(_folder(root, "empty"), "empty", False)
    scene = _writer(False, path)
    _camera(scene)
    scene.close()
    return Scene("empty scene", path, scene.statements)
