"""A generated production tree the size of a real lighting shot: 30 prop files holding 40 textures,
five sets nesting 20 of them, two deferred props; every path written on one of three artists'
Windows machines (a `//` project marker; a root without one; backslashes in capitals). Analysed
from elsewhere, with the artists' roots mapped and with none (the project rules alone), the result
lists every texture the loaded references use, under its on-disk name, and none of the deferred."""
import json

import pytest

from e2e import run

pytestmark = pytest.mark.usefixtures("built")

ROOTS = ["C:/Users/ann/show//", "D:/work/Show/", "E:\\\\PROJ\\\\SHOW\\\\"]  # as MEL strings hold them
HEAD = "//Maya ASCII 2024 scene\n//Name: %s\n//Codeset: UTF-8\n"


def written(relative, root):
    if root.startswith("E:"):
        return root + relative.upper().replace("/", "\\\\")
    return root + relative


def reference_lines(entries):
    """rdi lines (depth, namespace, node, path, deferred) in order, then the -r lines of depth 1."""
    rdi = "".join('file -rdi %d -ns "%s" -rfn "%s" %s-typ "mayaAscii" "%s";\n' % (d, ns, rn, "-dr 1 " if dr else "", p)
                  for d, ns, rn, p, dr in entries)
    return rdi + "".join('file -r -ns "%s" -dr 1 -rfn "%s" -typ "mayaAscii" "%s";\n' % (ns, rn, p)
                         for d, ns, rn, p, _dr in entries if d == 1)


def make_tree(root):
    def write(relative, text):
        path = root / relative
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)

    write("workspace.mel", 'workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "sourceimages";\n')
    textures, props = [], ["prop%02d" % i for i in range(30)]
    for i, prop in enumerate(props):
        body = 'requires maya "2024";\ncreateNode transform -n "%s";\n' % prop
        for k in range(2 if i % 3 == 0 else 1):
            texture = "sourceimages/props/%s_tex%d.png" % (prop, k)
            write(texture, "x")
            textures.append(str(root / texture))
            body += 'createNode file -n "f%d";\n\tsetAttr ".ftn" -type "string" "%s";\n' % (
                k, written(texture, ROOTS[(i + k) % 3]))
        write("scenes/props/%s.ma" % prop, HEAD % prop + body + "// End of %s.ma\n" % prop)
    shot = []
    for s in range(5):
        own = [(1, p, p + "RN", written("scenes/props/%s.ma" % p, ROOTS[(s + j) % 3]), False)
               for j, p in enumerate(props[s * 4:(s + 1) * 4])]
        write("scenes/sets/set%d.ma" % s, HEAD % "set" + reference_lines(own) + 'requires maya "2024";\n' +
              "".join('createNode reference -n "%s";\n' % e[2] for e in own) + "// End of set.ma\n")
        shot.append((1, "set%d" % s, "set%dRN" % s, written("scenes/sets/set%d.ma" % s, ROOTS[s % 3]), False))
        shot.extend((2, ns, "set%d:%s" % (s, rn), p, False) for _d, ns, rn, p, _dr in own)
    shot.extend((1, p, p + "RN", written("scenes/props/%s.ma" % p, ROOTS[i % 3]), False)
                for i, p in enumerate(props[20:]))
    for k in range(2):
        write("sourceimages/deferred%d.png" % k, "x")
        write("scenes/props/deferred%d.ma" % k, HEAD % "d" + 'requires maya "2024";\ncreateNode file -n "f";\n'
              '\tsetAttr ".ftn" -type "string" "C:/Users/ann/show//sourceimages/deferred%d.png";\n// End of d\n' % k)
        shot.append((1, "deferred%d" % k, "deferred%dRN" % k, "C:/Users/ann/show//scenes/props/deferred%d.ma" % k,
                     True))
    write("scenes/shots/sh010.ma", HEAD % "sh010.ma" + reference_lines(shot) + 'requires maya "2024";\n'
          'createNode transform -s -n "persp";\ncreateNode camera -s -n "perspShape" -p "persp";\n' +
          "".join('createNode reference -n "%s";\n' % e[2] for e in shot if e[0] == 1) +
          'createNode renderLayerManager -n "renderLayerManager";\ncreateNode renderLayer -n "defaultRenderLayer";\n'
          'select -ne :defaultRenderGlobals;\n\tsetAttr ".ren" -type "string" "arnold";\n'
          'connectAttr "renderLayerManager.rlmi[0]" "defaultRenderLayer.rlid";\n// End of sh010.ma\n')
    return textures


@pytest.mark.parametrize("mapped", [True, False], ids=["dirmap", "project-rules"])
def test_every_texture_of_the_loaded_references(tmp_path, mapped):
    root = tmp_path / "farm" / "show"
    textures = make_tree(root)
    args = [str(root / "scenes" / "shots" / "sh010.ma"), "--machine-type", "startCpu", "--json"]
    if mapped:
        for source in ("C:/Users/ann/show", "D:/work/Show", "E:/PROJ/SHOW"):
            args += ["--dirmap", source, str(root)]
    code, out, err = run(args)
    assert code == 0, err
    result = json.loads(out)
    files = set(result["files"])
    assert sorted(set(textures) - files) == []
    assert len([f for f in files if f.endswith(".ma")]) == 35  # 30 props and 5 sets, under their names on disk
    assert not [f for f in files if "deferred" in f]
    assert result["msg"] == []
