"""Maya's path rules in the host: variables, directory mappings, the project and its file rules,
letter case of Windows paths; and the commands that expose them (dirmap, workspace, file -q -ex)."""
from __future__ import print_function

import os
import shutil
import tempfile
import unittest

import support  # noqa: F401 (import path)
from maya import cmds
from maya._commands.paths import dirmap_table, disk, path_text, project, resolver, workspace_file


def reset_host_paths():
    table = dirmap_table.table()
    table.enabled, table.pairs = False, []
    project._state["opened"] = None
    disk.new_run()


class TextRulesTest(unittest.TestCase):
    def test_variables(self):
        env = {"ROOT": "/srv/show", "TEX": "tex"}.get
        cases = [("$ROOT/a.png", "/srv/show/a.png"), ("${ROOT}/${TEX}/a.png", "/srv/show/tex/a.png"),
                 ("%ROOT%\\a.png", "/srv/show\\a.png"), ("$NOPE/a.png", "$NOPE/a.png"), ("100%/a", "100%/a")]
        for written, expected in cases:
            self.assertEqual(path_text.expand_variables(written, (env,)), expected)

    def test_windows_paths_markers_and_parts(self):
        self.assertTrue(all(path_text.is_windows(p) for p in ("C:/a", "c:\\a", "\\\\srv\\share", "//srv/share", "a\\b")))
        self.assertFalse(any(path_text.is_windows(p) for p in ("/srv/a", "a/b", "")))
        cases = [("C:/Users/me/show//scenes/a.ma", "scenes/a.ma"), ("//srv/share/show//scenes/a.ma", "scenes/a.ma"),
                 ("//srv/share/a.ma", None), ("C:/a/b.ma", None), ("C:/show//", None)]
        for path, rest in cases:
            self.assertEqual(path_text.marker_split(path), rest, path)
        self.assertEqual(path_text.trailing_parts("D:/a/b//c.ma"), ["a/b/c.ma", "b/c.ma", "c.ma"])
        self.assertEqual(len(path_text.trailing_parts("/x" * 5000)), path_text.MAX_TRAILING_PARTS)

    def test_mapping_prefixes(self):
        cases = [
            ("C:/proj/a.png", "C:/proj", "/mnt/p", "/mnt/p/a.png"),
            ("C:/proj//scenes/a.ma", "C:/proj/", "/mnt/p/", "/mnt/p/scenes/a.ma"),
            ("c:\\PROJ\\a.png", "C:/proj", "/mnt/p", "/mnt/p/a.png"),  # Windows: any letter case, any slash
            ("C:/project/a.png", "C:/proj", "/mnt/p", None),          # a folder boundary only
            ("/Server/a.png", "/server", "/mnt", None),               # POSIX sources match exactly
            ("/server/a.png", "/server", "/", "/a.png"),
            ("C:/proj", "C:/proj", "/mnt/p", "/mnt/p"),
            ("relative/a.png", "relative", "/mnt", None),             # sources are absolute
        ]
        for path, source, destination, expected in cases:
            self.assertEqual(dirmap_table.map_prefix(path, source, destination), expected, (path, source))

    def test_the_table_answers_as_trying_every_mapping_in_order(self):
        table = dirmap_table.DirectoryMappings()
        table.enabled = True
        sources = ["C:/proj", "c:\\PROJ\\scenes", "C:", "D:/lib", "/server", "/Server/share", "//farm/show",
                   "\\\\farm\\show\\tex", "C:/proj//deep", u"E:/\u0130mages", "/mnt/a\\b", "relative/x", "/"]
        sources += ["E:/share%d/projects" % number for number in range(40)]
        for number, source in enumerate(sources):
            table.add(source, "/dest/%d" % number)
        table.add("D:/lib", "/dest/again")  # mapped again: replaced in place
        table.remove("/server")
        paths = ["C:/proj/a.png", "c:/Proj/Scenes/a.ma", "C:/proj//deep/x", "C:/x.png", "C:", "D:\\LIB\\t.png",
                 "/server/a", "/Server/share/b", "/Server/shares", "//farm/show/tex/a", "\\\\FARM\\Show\\tex\\b",
                 u"e:/\u0130mages/a", u"E:/i\u0307mages/a", "/mnt/a\\b/c", "relative/x/y", "/", "",
                 "E:/share7/projects/a.png", "E:/SHARE39/Projects", "E:/share40/projects/a"]

        def every_mapping(path):
            found = []
            for source, destination in table.pairs:
                mapped = dirmap_table.map_prefix(path, source, destination)
                if mapped is not None:
                    found.append((mapped, source, destination))
            return found
        for path in paths:
            self.assertEqual(table.candidates(path), every_mapping(path), path)
        self.assertTrue(table.candidates("E:/share7/projects/a.png"))
        table.pairs = [("F:/x", "/f")]  # the table set whole, as a reset does
        self.assertEqual(table.candidates("F:/x/a"), [("/f/a", "F:/x", "/f")])

    def test_workspace_text(self):
        text = ('//Maya 2025 Project Definition\n'
                'workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "old";\n'
                '/* workspace -fr "images" "commented"; */\n'
                'workspace -fileRule "sourceImages"\n\t"sourceimages";\n'
                'workspace -v "TEX" "sourceimages/tex";\nworkspace -fr "mayaLT" "";\n'
                'if (`exists x`) { workspace -fr "q\\"uote" "a\\\\b"; }\nworkspace -fr "unterminated;\n')
        parsed = workspace_file.parse(text)
        self.assertEqual(parsed.rules[:3], [("scene", "scenes"), ("sourceImages", "sourceimages"), ("mayaLT", "")])
        self.assertEqual(parsed.variables, {"TEX": "sourceimages/tex"})
        self.assertIsNone(parsed.rule("images"))


class ResolverTest(unittest.TestCase):
    def setUp(self):
        reset_host_paths()
        self.addCleanup(reset_host_paths)
        self.root = tempfile.mkdtemp(prefix="vanalyzer-paths-").replace(os.sep, "/")
        self.addCleanup(shutil.rmtree, self.root)
        for name in ("show/workspace.mel", "show/scenes/shot/shot.ma", "show/scenes/Props/Chair.ma",
                     "show/sourceimages/wood.png", "show/textures/only_rule.png", "show/scenes/shot/beside.ma",
                     "mapped/a/set.ma", "mapped/b/set.ma", "mapped/b/only_b.ma", "other/workspace.mel",
                     "other/scenes/other.ma", "env/lamp.ma"):
            self.make(name)
        with open(self.path("show/workspace.mel"), "w") as handle:
            handle.write('workspace -fr "scene" "scenes";\nworkspace -fr "sourceImages" "textures";\n'
                         'workspace -v "SETS" "%s/mapped/a";\n' % self.root)
        self.scene = self.path("show/scenes/shot/shot.ma")
        os.environ["VANALYZER_TEST_PROPS"] = self.path("env")
        self.addCleanup(os.environ.pop, "VANALYZER_TEST_PROPS")

    def path(self, name):
        return self.root + "/" + name

    def make(self, name):
        path = self.path(name)
        if not os.path.isdir(os.path.dirname(path)):
            os.makedirs(os.path.dirname(path))
        open(path, "w").close()

    def resolve(self, written, preferred=resolver.SCENE_RULES):
        return resolver.resolve(written, [os.path.dirname(self.scene)], preferred, self.scene)

    def test_the_first_rule_that_finds_the_file_wins(self):
        cmds.dirmap(en=True)
        cmds.dirmap(m=("X:/sets", self.path("mapped/a")))
        cmds.dirmap(m=("X:/sets/", self.path("mapped/b")))
        cases = [
            (self.path("show/sourceimages/wood.png"), "show/sourceimages/wood.png", "as written"),
            ("X:/sets/set.ma", "mapped/a/set.ma", 'through dirmap "X:/sets" -> "%s"' % self.path("mapped/a")),
            ("X:/sets/only_b.ma", "mapped/b/only_b.ma", "through dirmap \"X:/sets/\""),
            ("C:/Users/art/show//sourceimages/wood.png", "show/sourceimages/wood.png", "after the // project marker"),
            ("D:/old/show/sourceimages/wood.png", "show/sourceimages/wood.png", "under the project root"),
            ("D:/old/only_rule.png", "show/textures/only_rule.png", "under the file-rule folder %s/show/textures"
             % self.root),
            ("beside.ma", "show/scenes/shot/beside.ma", "in the scene's folder"),
            ("D:\\OLD\\SCENES\\props\\chair.MA", "show/scenes/Props/Chair.ma", "letter case as on disk"),
            ("$VANALYZER_TEST_PROPS/lamp.ma", "env/lamp.ma", "as written"),
            ("%VANALYZER_TEST_PROPS%\\lamp.ma", "env/lamp.ma", "as written"),
            ("${SETS}/set.ma", "mapped/a/set.ma", "as written"),  # a workspace variable
        ]
        for written, found, rule in cases:
            resolution = self.resolve(written)
            self.assertEqual(resolution.path, self.path(found), written)
            self.assertIn(rule, resolution.rule, written)

    def test_an_existing_path_is_never_remapped_and_a_missing_one_is_not_found(self):
        cmds.dirmap(en=True)
        cmds.dirmap(m=(self.path("show"), self.path("other")))
        self.assertEqual(self.resolve(self.path("show/sourceimages/wood.png")).rule, "as written")
        missing = self.resolve("C:/Users/art/show//scenes/none.ma")
        self.assertFalse(missing.found)
        self.assertEqual((missing.path, missing.rule), (None, None))
        cmds.dirmap(en=False)
        self.assertFalse(self.resolve("C:/nowhere/show/scenes/shot/zzz.ma").found)

    def test_an_opened_project_replaces_the_one_found_above_the_scene(self):
        self.assertEqual(project.root(self.scene), self.path("show"))
        cmds.workspace(self.path("other"), openWorkspace=True)
        self.assertIn("under the project root %s" % self.path("other"), self.resolve("D:/x/scenes/other.ma").rule)
        self.assertRaises(RuntimeError, cmds.workspace, self.path("nowhere"), openWorkspace=True)

    def test_each_folder_is_listed_once(self):
        index = disk.index()
        for name in ("Chair.MA", "CHAIR.ma", "chair.ma", "none.ma"):
            self.resolve("D:\\old\\scenes\\PROPS\\" + name)
        listed = index.listed
        self.assertGreater(listed, 0)
        self.resolve("D:\\old\\scenes\\PROPS\\Chair.MA")
        self.assertEqual(index.listed, listed)


class CommandsTest(unittest.TestCase):
    def setUp(self):
        reset_host_paths()
        self.addCleanup(reset_host_paths)

    def test_dirmap(self):
        self.assertIs(cmds.dirmap(q=True, en=True), False)
        cmds.dirmap(m=("C:/proj", "/mnt/proj"))
        self.assertEqual(cmds.dirmap(cd="C:/proj/a.png"), "C:/proj/a.png")  # off until enabled
        cmds.dirmap(enable=True)
        cmds.dirmap(mapDirectory=("D:/lib", "/mnt/lib"))
        self.assertIs(cmds.dirmap(query=True, enable=True), True)
        self.assertEqual(cmds.dirmap(cd="C:/proj//sourceimages/a.png"), "/mnt/proj/sourceimages/a.png")
        self.assertEqual(cmds.dirmap(convertDirectory="E:/x.png"), "E:/x.png")
        self.assertEqual(cmds.dirmap(gam=True), ["C:/proj", "/mnt/proj", "D:/lib", "/mnt/lib"])
        self.assertEqual(cmds.dirmap(gmd="D:/lib"), "/mnt/lib")
        cmds.dirmap(m=("C:/proj", "/srv/proj"))  # mapping a source again replaces it in place
        cmds.dirmap(um="D:/lib")
        self.assertEqual(cmds.dirmap(getAllMappings=True), ["C:/proj", "/srv/proj"])
        self.assertRaises(RuntimeError, cmds.dirmap, m="C:/proj")
        self.assertRaises(RuntimeError, cmds.dirmap, en=True, cd="x")

    def test_workspace_and_exists(self):
        root = tempfile.mkdtemp(prefix="vanalyzer-ws-").replace(os.sep, "/")
        self.addCleanup(shutil.rmtree, root)
        os.makedirs(os.path.join(root, "sourceimages"))
        open(os.path.join(root, "sourceimages", "a.png"), "w").close()
        with open(os.path.join(root, "workspace.mel"), "w") as handle:
            handle.write('workspace -fr "sourceImages" "sourceimages";\nworkspace -fr "scene" "scenes";\n'
                         'workspace -v "LIB" "/srv/lib";\n')
        cmds.workspace(root, openWorkspace=True)
        cases = [({"q": True, "rd": True}, root + "/"), ({"q": True, "fullName": True}, root),
                 ({"fileRuleEntry": "sourceImages"}, "sourceimages"), ({"fre": "nope"}, ""),
                 ({"q": True, "fileRuleList": True}, ["sourceImages", "scene"]),
                 ({"expandName": "sourceimages/a.png"}, root + "/sourceimages/a.png"),
                 ({"en": "$LIB/x.png"}, "/srv/lib/x.png"), ({"en": "/abs/x.png"}, "/abs/x.png"),
                 ({"q": True, "variableEntry": "LIB"}, "/srv/lib"), ({"q": True, "vl": True}, ["LIB"])]
        for flags, expected in cases:
            self.assertEqual(cmds.workspace(**flags), expected, flags)
        self.assertTrue(cmds.file("sourceimages/a.png", q=True, exists=True))
        self.assertTrue(cmds.file(root + "/sourceimages/a.png", q=True, ex=True))
        self.assertFalse(cmds.file("sourceimages/b.png", q=True, exists=True))
        self.assertFalse(cmds.file("C:/sourceimages/a.png", q=True, exists=True))


if __name__ == "__main__":
    unittest.main()
