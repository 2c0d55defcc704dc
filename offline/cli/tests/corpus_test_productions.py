"""The small production trees of the corpus (../shared/corpus/productions), each analysed from a
copy of its own checkout, the roots its artists used mapped onto the copy with --dirmap: every
reference Maya would load is found under its on-disk name, every missing one is listed as
missing, and so is every file of the tree that a loaded reference names."""
import json
import os
import re
import shutil

import pytest

from e2e import CORPUS, run, unavailable

pytestmark = pytest.mark.usefixtures("built")

PRODUCTIONS = os.path.join(CORPUS, "productions")
FISHISM_ROOTS = ["C:/Users/couls/OneDrive - Utah Valley University/Desktop/2024_3D_program_assignments/Fishism",
                 "E:/Animation and Game Design/Fishism", "D:/schoolwork/Fishism"]
WALKER_ROOTS = ["C:/Git/2230Fall2024"]

# tree, shot, artists' roots, loaded references (namespace: file in the tree), missing ones (namespaces)
CASES = [
    ("Fishism", "scenes/fish_scene/Fish_animation.ma", FISHISM_ROOTS,
     {"AnglerFish_V2": "scenes/AnglerFish_V2.ma", "Colt_Navy_Revolver": "scenes/Colt_Navy_Revolver.ma"},
     ["Main_Scene", "shelves_stuff", "Diver_Animation"]),
    ("Fishism", "scenes/fish_scene/Fish_animation.ma", [],  # the // project markers alone find them
     {"AnglerFish_V2": "scenes/AnglerFish_V2.ma", "Colt_Navy_Revolver": "scenes/Colt_Navy_Revolver.ma"},
     ["Main_Scene", "shelves_stuff", "Diver_Animation"]),
    ("Walker", "WalkerAnimation.mb", WALKER_ROOTS,
     {"Ultimate_Walker_IK_v1_0_1": "MayaRigs/Ultimate_Walker_IK_v1.0.1.ma"}, []),
    ("Walker", "RunCycle/Walker_Run.mb", WALKER_ROOTS,
     {"Ultimate_Walker_IK_v1_0_1": "MayaRigs/Ultimate_Walker_IK_v1.0.1.ma"}, []),
]

# texture paths as Maya ASCII writes them on the attributes that name image files
_NAMED_FILE = re.compile(r'setAttr "\.(?:ftn|fileTextureName|imn|imageName|filename)" -type "string" "([^"]+)"')


def _named_files(path):
    with open(path, encoding="latin-1") as handle:
        return [value.replace("\\", "/").rsplit("/", 1)[-1].lower() for value in _NAMED_FILE.findall(handle.read())]


def _tree_files(root):
    found = {}
    for folder, _dirs, names in os.walk(root):
        for name in names:
            found.setdefault(name.lower(), []).append(os.path.join(folder, name))
    return found


@pytest.mark.parametrize("tree, shot, roots, loaded, missing", CASES,
                         ids=["%s-%s-%s" % (c[0], os.path.basename(c[1]), "dirmap" if c[2] else "markers")
                              for c in CASES])
def test_a_production_shot_lists_what_its_loaded_references_use(tmp_path, tree, shot, roots, loaded, missing):
    if not os.path.isdir(PRODUCTIONS):
        unavailable("the production trees are not at %s" % PRODUCTIONS)
    copy = tmp_path / tree
    shutil.copytree(os.path.join(PRODUCTIONS, tree), str(copy))
    for folder, dirs, names in os.walk(str(copy)):
        os.chmod(folder, 0o755)
    args = [str(copy / shot), "--result", str(tmp_path / "result.json")]
    for root in roots:
        args += ["--dirmap", root, str(copy)]
    code, out, err = run(args)
    assert code in (0, 1, 2), err
    result = json.loads((tmp_path / "result.json").read_text())
    files = set(result["files"])
    for namespace, name in sorted(loaded.items()):
        on_disk = str(copy / name)
        assert re.search(r"^  loaded +%s +%s$" % (re.escape(namespace), re.escape(on_disk)), out, re.M), out
        assert on_disk in files or result["status"] == 2
    for namespace in missing:
        assert re.search(r"^  missing +%s " % re.escape(namespace), out, re.M), out
    if result["status"] == 2:  # a scene-level error (Walker_Run has no renderable camera): no files collected
        assert result["files"] == []
        return
    # every file of the tree that the shot or a loaded reference names is a file of the result
    in_tree = _tree_files(str(copy))
    named = set(_named_files(str(copy / shot)) if shot.endswith(".ma") else [])
    for name in loaded.values():
        named.update(_named_files(str(copy / name)))
    expected = set(path for base in named for path in in_tree.get(base, []))
    assert expected <= files, sorted(expected - files)
