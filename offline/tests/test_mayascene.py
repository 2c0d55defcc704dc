"""The mayascene extension module: loading, decoding and errors, on 2.7 and 3.x."""
from __future__ import print_function

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import support  # noqa: F401  (puts the module on sys.path)
import mayascene


def node_named(scene, name):
    for node in scene["nodes"]:
        if node["name"] == name:
            return node
    raise AssertionError("no node %r" % name)


class ValuesTest(unittest.TestCase):
    def test_types_and_text(self):
        scene = mayascene.load(support.fixture("arnold_layers.ma"))
        persp = node_named(scene, "persp")
        self.assertEqual(persp["attrs"]["translate"], (28.0, 21.0, 28.0))
        self.assertEqual(persp["uuid"], "84384D92-4957-42CC-B4F8-639DEF9DBFEE")
        self.assertIs(node_named(scene, "topShape")["attrs"]["renderable"], False)
        self.assertEqual(node_named(scene, "perspShape")["attrs"]["focalLength"], 34.999999999999993)
        script = node_named(scene, "pyScript")
        self.assertEqual(script["attrs"]["after"], 'import maya.cmds as cmds\nprint("C:\\\\temp")')
        self.assertEqual(script["attrs"]["noteText"], "hello")
        self.assertIsInstance(script["attrs"]["noteText"], str)
        self.assertEqual(node_named(scene, "renderCamShape")["path"], "|shots|renderCam|renderCamShape")
        self.assertIsNone(node_named(scene, "absTex")["path"])
        # mesh data is not kept; the small values beside it are
        self.assertEqual(sorted(node_named(scene, "groundShape")["attrs"]),
                         ["renderLayerInfo[0]", "uvst[0].uvsn"])  # ".v" was flag-only
        self.assertEqual(scene["units"], {"linear": "centimeter", "angle": "degree", "time": "film"})
        self.assertEqual(scene["format"], "mayaAscii")

    def test_gbk_scene_decodes(self):
        scene = mayascene.load(support.fixture("redshift_rendersetup.ma"))
        self.assertEqual(scene["codec"], "gbk")
        tex = node_named(scene, support.text(b"\xe8\xb4\xb4\xe5\x9b\xbe1"))
        self.assertEqual(tex["attrs"]["fileTextureName"],
                         support.text(b"D:/\xe9\xa1\xb9\xe7\x9b\xae/\xe8\xb4\xb4\xe5\x9b\xbe/"
                                      b"\xe6\x9c\xa8\xe7\xba\xb9.<UDIM>.png"))

    def test_cp1252_scene_decodes(self):
        scene = mayascene.load(support.fixture("vray_legacy.ma"))
        tex = node_named(scene, support.text(b"caf\xc3\xa9Tex"))
        self.assertEqual(tex["attrs"]["fileTextureName"], support.text(b"D:/Textures/caf\xc3\xa9/cr\xc3\xa8me.jpg"))

    def test_resolve_attribute(self):
        self.assertEqual(mayascene.resolve_attribute("renderGlobals", "ren"), ("currentRenderer", True, "mayaSoftware"))
        self.assertEqual(mayascene.resolve_attribute("renderGlobals", "imageFilePrefix"), ("imageFilePrefix", True, None))
        self.assertEqual(mayascene.resolve_attribute("xgmPalette", "xv", [("xv", "xgVersion")]), ("xgVersion", False, None))
        self.assertEqual(mayascene.resolve_attribute("mesh", "nope"), ("nope", False, None))
        self.assertEqual(mayascene.type_ancestry("psdFileTex")[:3], ["psdFileTex", "file", "texture2d"])
        self.assertRaises(TypeError, mayascene.resolve_attribute, 1, "x")


class ErrorTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def write(self, name, data):
        path = os.path.join(self.tmp, name)
        with open(path, "wb") as handle:
            handle.write(data)
        return path

    def test_truncated_files_report_their_line(self):
        with open(support.fixture("arnold_layers.ma"), "rb") as handle:
            data = handle.read()
        for cut in range(200, len(data) - 20, 397):
            path = self.write("cut.ma", data[:cut])
            try:
                mayascene.load(path)
            except mayascene.ParseError as error:
                line = data[:cut].count(b"\n") + 1
                self.assertTrue(1 <= error.line <= line, (cut, error.line, line))
                self.assertIn("%s:%d:" % (path, error.line), str(error))
                self.assertTrue(isinstance(error, ValueError))
            else:
                self.fail("cut at %d loaded" % cut)

    def test_corrupted_statement(self):
        path = self.write("bad.ma", b'//Maya ASCII 2020 scene\n//Codeset: UTF-8\ncreateNode transform -n "a";\n'
                                    b'\tsetAttr ".t" -type "double3" 0 (1) 0;\n// End of bad.ma\n')
        with self.assertRaises(mayascene.ParseError) as caught:
            mayascene.load(path)
        self.assertEqual((caught.exception.line, caught.exception.column), (4, 34))
        self.assertEqual(caught.exception.file, path)

    def test_missing_file(self):
        self.assertRaises((IOError, OSError), mayascene.load, os.path.join(self.tmp, "none.ma"))


class LongValuesTest(unittest.TestCase):
    """A text over VANALYZER_MAX_VALUE_BYTES is listed and still loads whole."""

    def setUp(self):
        self.tmp = tempfile.mkdtemp()
        self.saved = os.environ.get("VANALYZER_MAX_VALUE_BYTES")

    def tearDown(self):
        shutil.rmtree(self.tmp)
        if self.saved is None:
            os.environ.pop("VANALYZER_MAX_VALUE_BYTES", None)
        else:
            os.environ["VANALYZER_MAX_VALUE_BYTES"] = self.saved

    def test_long_text_loads_whole_and_is_listed(self):
        path = os.path.join(self.tmp, "long.ma")
        with open(path, "wb") as handle:
            handle.write(b'//Maya ASCII 2020 scene\n//Codeset: UTF-8\ncreateNode script -n "s";\n'
                         b'\tsetAttr ".b" -type "string" ("print(\\"" + "0123456789" + "\\")\\n");\n'
                         b'// End of long.ma\n')
        os.environ["VANALYZER_MAX_VALUE_BYTES"] = "8"
        scene = mayascene.load(path)
        self.assertEqual(node_named(scene, "s")["attrs"]["before"], 'print("0123456789")\n')
        self.assertEqual(scene["long_values"], [("s.before", 20, True)])
        os.environ["VANALYZER_MAX_VALUE_BYTES"] = "0"  # no cap
        self.assertEqual(mayascene.load(path)["long_values"], [])
        os.environ["VANALYZER_MAX_VALUE_BYTES"] = "8 MB"
        with self.assertRaises(ValueError) as caught:
            mayascene.load(path)
        self.assertIn("VANALYZER_MAX_VALUE_BYTES", str(caught.exception))

    def test_reference_edits(self):
        scene = mayascene.load(support.fixture("arnold_layers.ma"))
        self.assertEqual(scene["reference_edits"],
                         [{"holder": "propRN", "owner": "propRN", "unread": 0,
                           "groups": [{"reference_node": "propRN", "edits": []},
                                      {"reference_node": "propRN",
                                       "edits": [(2, ["|prop:root", "translate", ' -type "double3" 0 1 0'])]}]}])


class DoubleByteCodePageTest(unittest.TestCase):
    """Characters whose second byte is 0x5C (a backslash) in GBK, Big5 and Shift-JIS scenes."""

    CASES = [
        # codeset, codec, character, second byte is 0x5C
        ("936", "gbk", u"\u4e57", True),     # CJK 4E57: 81 5C
        ("950", "cp950", u"\u529f", True),   # CJK 529F: A5 5C
        ("932", "cp932", u"\u30bd", True),   # katakana SO: 83 5C
        ("932", "cp932", u"\uff8f", False),  # half-width katakana MA: CF, a single byte
    ]

    def setUp(self):
        self.tmp = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.tmp)

    def test_paths_and_names_decode(self):
        for codeset, codec, character, ends_in_backslash in self.CASES:
            encoded = character.encode(codec)
            self.assertEqual(encoded.endswith(b"\\"), ends_in_backslash, (codec, encoded))
            # Maya escapes the path's own backslashes, never a byte inside a character.
            scene_bytes = (b"//Maya ASCII 2020 scene\n//Codeset: " + codeset.encode("ascii") + b"\n"
                           b'createNode file -n "tex' + encoded + b'";\n'
                           b'\tsetAttr ".ftn" -type "string" "D:\\\\' + encoded + b'\\\\tex.png";\n'
                           b"// End of dbcs.ma\n")
            path = os.path.join(self.tmp, "dbcs.ma")
            with open(path, "wb") as handle:
                handle.write(scene_bytes)
            scene = mayascene.load(path)
            expected_name = support.text((u"tex" + character).encode("utf-8"))
            node = node_named(scene, expected_name)
            self.assertEqual(node["attrs"]["fileTextureName"],
                             support.text((u"D:\\" + character + u"\\tex.png").encode("utf-8")), codec)


class StableAbiTest(unittest.TestCase):
    def test_imports_only_stable_abi_of_37(self):
        table = os.path.join(support.REPO, "tools", "stable-abi-symbols.tsv")
        added = {}
        with open(table) as handle:
            for line in handle:
                fields = line.rstrip("\n").split("\t")
                if len(fields) == 3 and not line.startswith("#"):
                    added[fields[0]] = fields[2]
        binary = os.path.join(support.BINARY_DIR, "abi3", "mayascene.abi3.so")
        out = subprocess.check_output(["nm", "-D", "--undefined-only", binary]).decode()
        symbols = [line.split()[-1] for line in out.splitlines() if line.split()[-1].lstrip("_").startswith("Py")]
        self.assertTrue(symbols)
        for symbol in symbols:
            self.assertIn(symbol, added)
            major, minor = added[symbol].split(".")
            self.assertLessEqual((int(major), int(minor)), (3, 7), symbol)


if __name__ == "__main__":
    unittest.main()
