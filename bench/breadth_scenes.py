"""Generated scenes for bench/breadth_benchmark.py: each grows along one "wide" dimension of a
production scene (many references, references nested deep, layers, plug-in lines, reference edits,
texture folders, UDIM sets written on Windows in one folder, or one huge script),
so that the benchmark can compare the analysis at a size and at four times it.

Every generator writes one Maya ASCII scene with a renderable camera (so that the analysis gathers
its files) and returns an offline_scenes.Scene. The statements follow /work/shared/notes
(maya-ascii.md, maya-references.md); nothing in them is meant to run, the script is harmless MEL.
"""
from __future__ import print_function

import io
import os

from offline_scenes import AsciiScene, Scene, _camera, _folder, _touch


class BreadthScene(AsciiScene):
    """An AsciiScene that also writes what Maya puts in the file's head: the reference lines
    (before `requires maya`) and further `requires` lines (after it)."""

    def __init__(self, path, references=(), requires=()):
        self.name = os.path.basename(path)
        self.out = io.open(path, "w", encoding="utf-8", newline="\n")
        self.out.write(u'//Maya ASCII 2024 scene\n//Name: %s\n//Codeset: UTF-8\n' % self.name)
        self.out.write(u"".join(references))
        self.out.write(u'requires maya "2024";\n' + u"".join(requires))
        self.out.write(u'currentUnit -l centimeter -a degree -t film;\nfileInfo "application" "maya";\n')
        self.statements = 3 + len(references) + len(requires)
        self.lines = []

    def long_script(self, node, piece, repeats, script_type):
        """A script node whose before-script is piece repeated, written as it goes."""
        self._add(u'createNode script -n "%s";\n' % node, 1)
        self._long_string(u'.b', piece, repeats)
        self._add(u'\tsetAttr ".st" %d;\n' % script_type, 1)


def _reference_lines(namespace, path):
    """The two statements Maya writes for a top-level reference: its depth info, then the deferred
    reference itself (maya-references.md 1.1)."""
    return [u'file -rdi 1 -ns "%s" -rfn "%sRN" -op "v=0;" -typ "mayaAscii" "%s";\n' % (namespace, namespace, path),
            u'file -r -ns "%s" -dr 1 -rfn "%sRN" -op "v=0;" -typ "mayaAscii" "%s";\n' % (namespace, namespace, path)]


def reference_props(root, count):
    """The project of the reference scenes: count small props on disk (scenes/props), each a
    transform and a file texture of its own (sourceimages, written relative to the project).
    Made once at the largest size; the smaller scene references the first props."""
    project = os.path.join(root, "references")
    props = os.path.join(project, "scenes", "props")
    os.makedirs(props)
    os.makedirs(os.path.join(project, "sourceimages"))
    with open(os.path.join(project, "workspace.mel"), "w") as handle:
        handle.write('workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "sourceimages";\n')
    paths = []
    for index in range(count):
        texture = "sourceimages/prop%06d.png" % index
        _touch(os.path.join(project, texture))
        prop_path = os.path.join(props, "prop%06d.ma" % index)
        prop = BreadthScene(prop_path)
        prop.transform("geo")
        prop.file_texture("tex", texture)
        prop.close()
        paths.append((prop_path, os.path.join(project, texture)))
    return project, paths


def reference_scene(project, props):
    """A shot that references every prop of props once, each under its own namespace, with its
    reference node: the analysis opens each prop and gathers its texture."""
    lines = []
    for index, (path, _) in enumerate(props):
        lines.extend(_reference_lines(u"prop%06d" % index, path.replace(os.sep, "/")))
    # Maya writes every -rdi line before the first -r line
    lines = lines[0::2] + lines[1::2]
    path = os.path.join(project, "scenes", "references_%d.ma" % len(props))
    scene = BreadthScene(path, references=lines)
    _camera(scene)
    for index in range(len(props)):
        scene._add(u'createNode reference -n "prop%06dRN";\n' % index, 1)
    scene.close()
    referenced = [name for pair in props for name in pair]
    return Scene("%d references" % len(props), path, scene.statements, referenced)


def nested_reference_scene(root, depth):
    """A chain of references depth deep: the shot references level 1, each level the next, and each
    level holds a texture of its own (written relative to the project)."""
    project = os.path.join(root, "nesting_%d" % depth)
    levels = os.path.join(project, "scenes", "levels")
    os.makedirs(levels)
    os.makedirs(os.path.join(project, "sourceimages"))
    with open(os.path.join(project, "workspace.mel"), "w") as handle:
        handle.write('workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "sourceimages";\n')
    level_path = lambda level: os.path.join(levels, "level%04d.ma" % level).replace(os.sep, "/")
    referenced = []
    for level in range(1, depth + 1):
        texture = "sourceimages/level%04d.png" % level
        _touch(os.path.join(project, texture))
        below = _reference_lines(u"l%d" % (level + 1), level_path(level + 1)) if level < depth else []
        scene = BreadthScene(level_path(level), references=below)
        scene.file_texture("tex", texture)
        if below:
            scene._add(u'createNode reference -n "l%dRN";\n' % (level + 1), 1)
        scene.close()
        referenced += [level_path(level), os.path.join(project, texture)]
    path = os.path.join(project, "scenes", "nesting_%d.ma" % depth)
    scene = BreadthScene(path, references=_reference_lines(u"l1", level_path(1)))
    _camera(scene)
    scene._add(u'createNode reference -n "l1RN";\n', 1)
    scene.close()
    return Scene("references %d deep" % depth, path, scene.statements, referenced)


def folder_scene(root, count):
    """count file textures, each alone in a folder of its own under sourceimages (as per-asset
    texture folders are, at their extreme), written relative to the project."""
    project = os.path.join(root, "folders_%d" % count)
    os.makedirs(os.path.join(project, "scenes"))
    with open(os.path.join(project, "workspace.mel"), "w") as handle:
        handle.write('workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "sourceimages";\n')
    path = os.path.join(project, "scenes", "folders_%d.ma" % count)
    scene = BreadthScene(path)
    _camera(scene)
    referenced = []
    for index in range(count):
        written = "sourceimages/f%06d/tex.png" % index
        os.makedirs(os.path.join(project, os.path.dirname(written)))
        _touch(os.path.join(project, written))
        scene.file_texture("file%d" % index, written)
        referenced.append(os.path.join(project, written))
    scene.close()
    return Scene("%d texture folders" % count, path, scene.statements, referenced)


def windows_tile_scene(root, count):
    """count UDIM sets of three tiles in one folder, written on Windows in another letter case
    (`D:\\Show\\SourceImages\\Lib\\Skin00001.<UDIM>.EXR`): each found under the project root by
    matching its folder and name ignoring case, as a scene made on an artist's Windows machine is
    on a Linux farm."""
    project = os.path.join(root, "windows_tiles_%d" % count)
    os.makedirs(os.path.join(project, "scenes"))
    with open(os.path.join(project, "workspace.mel"), "w") as handle:
        handle.write('workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "sourceimages";\n')
    library = _folder(project, os.path.join("sourceimages", "lib"))
    path = os.path.join(project, "scenes", "windows_tiles_%d.ma" % count)
    scene = BreadthScene(path)
    _camera(scene)
    referenced = []
    for index in range(count):
        for tile in (1001, 1002, 1003):
            referenced.append(os.path.join(library, "skin%05d.%d.exr" % (index, tile)))
            _touch(referenced[-1])
        scene.file_texture("file%d" % index, "D:\\\\Show\\\\SourceImages\\\\Lib\\\\Skin%05d.<UDIM>.EXR" % index)
        scene._add(u'\tsetAttr ".uvt" 3;\n', 1)
    scene.close()
    return Scene("%d Windows-written UDIM sets in one folder" % count, path, scene.statements, referenced)


def _layer_manager(scene, layers):
    """The render layer manager and the default layer, which every scene with layers has."""
    scene._add(u'createNode renderLayerManager -n "renderLayerManager";\n\tsetAttr -s %d ".rlmi";\n'
               u'createNode renderLayer -n "defaultRenderLayer";\n\tsetAttr ".g" yes;\n' % (layers + 1), 4)


def setup_layer_scene(root, count):
    """Render setup: count renderSetupLayer nodes, each with the legacy rs_ layer Maya keeps for it
    (maya-ascii.md 4), registered with the layer manager."""
    path = os.path.join(_folder(root, "setup-layers"), "setup_layers_%d.ma" % count)
    scene = BreadthScene(path, requires=[u'requires -nodeType "renderSetupLayer" -nodeType "renderSetup" '
                                         u'"renderSetup.py" "1.0";\n'])
    _camera(scene)
    scene._add(u'createNode renderSetup -n "renderSetup";\n', 1)
    _layer_manager(scene, count)
    for index in range(count):
        scene._add(u'createNode renderSetupLayer -n "layer%d";\ncreateNode renderLayer -n "rs_layer%d";\n'
                   u'\tsetAttr ".do" %d;\n' % (index, index, index + 1), 3)
    for index in range(count):
        scene._add(u'connectAttr "rs_layer%d.msg" "layer%d.lrl";\n'
                   u'connectAttr "renderLayerManager.rlmi[%d]" "rs_layer%d.rlid";\n' % (index, index, index + 1, index), 2)
    scene._add(u'connectAttr "renderLayerManager.rlmi[0]" "defaultRenderLayer.rlid";\n', 1)
    scene.close()
    return Scene("%d render setup layers" % count, path, scene.statements)


def legacy_layer_scene(root, count, cameras=4):
    """count legacy render layers over cameras renderable cameras; each layer holds one adjustment,
    turning one camera's renderable flag off in that layer (maya-ascii.md 4: .adjs[i].val/.plg)."""
    path = os.path.join(_folder(root, "layers"), "layers_%d.ma" % count)
    scene = BreadthScene(path)
    for index in range(cameras):
        scene.transform("cam%d" % index)
        scene.camera("cam%dShape" % index, "cam%d" % index)
    _layer_manager(scene, count)
    for index in range(count):
        scene._add(u'createNode renderLayer -n "layer%d";\n\tsetAttr ".do" %d;\n\tsetAttr ".adjs[0].val" no;\n'
                   % (index, index + 1), 3)
    for index in range(count):
        scene._add(u'connectAttr "renderLayerManager.rlmi[%d]" "layer%d.rlid";\n'
                   u'connectAttr "cam%dShape.rnd" "layer%d.adjs[0].plg";\n' % (index + 1, index, index % cameras, index), 2)
    scene._add(u'connectAttr "renderLayerManager.rlmi[0]" "defaultRenderLayer.rlid";\n', 1)
    scene.close()
    return Scene("%d legacy layers" % count, path, scene.statements)


def requires_scene(root, count):
    """count `requires` lines, each naming a distinct plug-in and a node type of it."""
    path = os.path.join(_folder(root, "requires"), "requires_%d.ma" % count)
    scene = BreadthScene(path, requires=[u'requires -nodeType "node%d" "plugin%06d" "1.0";\n' % (index, index)
                                         for index in range(count)])
    _camera(scene)
    scene.close()
    return Scene("%d requires lines" % count, path, scene.statements)


def edit_scene(root, count):
    """One reference to a rig-like prop whose node has count user attributes, and count setAttr
    edits on its reference node, one on each attribute, as animators' channel edits are stored
    (maya-references.md 1.6: code 2, node, attribute, value tail)."""
    folder = _folder(root, "edits")
    prop_path = os.path.join(folder, "rig_%d.ma" % count)
    prop = BreadthScene(prop_path)
    prop.transform("geo")
    for index in range(count):
        prop._add(u'\taddAttr -ci true -sn "e%d" -ln "e%d" -at "double";\n' % (index, index), 1)
    prop.close()
    path = os.path.join(folder, "edits_%d.ma" % count)
    scene = BreadthScene(path, references=_reference_lines(u"rig", prop_path.replace(os.sep, "/")))
    _camera(scene)
    scene._add(u'createNode reference -n "rigRN";\n\tsetAttr ".ed" -type "dataReferenceEdits" \n'
               u'\t\t"rigRN"\n\t\t"rigRN" %d' % count, 2)
    for index in range(count):
        scene._add(u'\n\t\t2 "|rig:geo" "e%d" " %d"' % (index, index), 0)
    scene._add(u";\n", 0)
    scene.close()
    return Scene("%d reference edits" % count, path, scene.statements, [prop_path])


def script_scene(root, megabytes):
    """One UI-configuration script node (type 3) whose before-script is megabytes MB of harmless
    MEL prints, whole escaped lines only."""
    path = os.path.join(_folder(root, "script"), "script_%g.ma" % megabytes)
    scene = BreadthScene(path)
    _camera(scene)
    piece = u"".join(u'print(\\"frame %04d ready\\\\n\\");\\n' % index for index in range(2048))  # about 64 KB
    scene.long_script("uiConfigurationScriptNode", piece, max(1, int(megabytes * 1024 * 1024 // len(piece))), 3)
    scene.close()
    return Scene("%g MB before-script" % megabytes, path, scene.statements)
