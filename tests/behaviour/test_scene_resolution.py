# -*- coding: utf-8 -*-
"""Scene name resolution: the mode table, the open scene's name, the process arguments."""
import os
import sys
import unittest

from operation_support import OperationTestCase
import support  # noqa: F401
import vanalyzer

PY2 = sys.version_info[0] == 2
EMPTY_NAME = ("Warring", "Find sceneName is empty, try get from sysargs")


def arguments(count):
    return ["maya"] + ["a%d" % index for index in range(1, count)]


def argument_line(argv):
    return ("Info", "argvs %s " % (argv,))


def utf8_failure(entry):
    """The text of the error that decoding this argument from UTF-8 raises."""
    try:
        (entry if PY2 else os.fsencode(entry)).decode("utf-8")
    except UnicodeDecodeError as error:
        return str(error)
    raise AssertionError("the entry decodes")


class Recording(vanalyzer.Maya_Analyzer):
    """Answers getSceneNameFromMaya itself, so that a test sees the operation called through the instance."""

    def getSceneNameFromMaya(self):
        self.resolved = getattr(self, "resolved", 0) + 1
        return "resolved by the instance"


class ModeTable(OperationTestCase):

    def test_modes_zero_and_one_use_the_open_scene(self):
        # 1.0 and True find mode 1, False finds mode 0, as a dict lookup does.
        for mode in (0, 1, 1.0, True, False, 0.0):
            analyzer = self.analyzer(Recording)
            analyzer.resolved = 0
            self.assertEqual(analyzer.getSceneName(mode, "/given/but/unused.ma"), "resolved by the instance")
            self.assertEqual(analyzer.resolved, 1, mode)

    def test_other_modes_raise_a_key_error(self):
        for mode in (None, 2, -1, "0", "1", 0.5):
            analyzer = self.analyzer(Recording)
            analyzer.resolved = 0
            with self.assertRaises(KeyError) as raised:
                analyzer.getSceneName(mode, "")
            self.assertEqual(raised.exception.args, (mode,))
            self.assertEqual(analyzer.resolved, 0)

    def test_an_unhashable_mode_fails_as_a_dict_lookup_does(self):
        analyzer = self.analyzer()
        self.assertRaises(TypeError, analyzer.getSceneName, [0], "")

    def test_construction_with_mode_none_ends_at_the_lookup(self):
        self.clean_scene()
        with self.assertRaises(KeyError):
            self.construct(None)
        self.assertEqual(self.world.calls("py.file"), [])
        self.assertNotIn("Start to Get Layer Info.", self.log_texts())

    def test_construction_passes_mode_and_name_on(self):
        self.clean_scene()
        seen = []

        class Spy(vanalyzer.Maya_Analyzer):
            def getSceneName(self, analyzerMode, sceneName):
                seen.append((analyzerMode, sceneName))
                return vanalyzer.Maya_Analyzer.getSceneName(self, analyzerMode, sceneName)

        self.assertEqual(Spy(1, 0, "/given.ma").sceneName, "/projects/shot/scene.ma")
        self.assertEqual(Spy(0).sceneName, "/projects/shot/scene.ma")
        self.assertEqual(seen, [(1, "/given.ma"), (0, "")])


class OpenSceneName(OperationTestCase):

    def test_a_named_scene_wins_whatever_the_arguments_and_platform(self):
        for platform in ("Linux", "Windows", None):
            analyzer = self.analyzer(platform=platform)
            self.process_arguments(arguments(9))
            self.world.scene_name = u"/projects/\u4e2d\u6587/scene.mb"
            self.assertEqual(analyzer.getSceneNameFromMaya(), u"/projects/\u4e2d\u6587/scene.mb")
            self.assertEqual(self.logs(), [])
            self.assertEqual(self.world.calls("py.file"), [("py.file", (), {"q": True, "sn": True})])

    def test_a_failed_query_is_logged_and_gives_none(self):
        analyzer = self.analyzer(platform="Linux")
        self.world.failures["file"] = RuntimeError("host is gone")
        self.assertIsNone(analyzer.getSceneNameFromMaya())
        self.assertEqual(self.logs(), [("Error", "Get Scene Name Error:host is gone")])


class ArgumentPositions(OperationTestCase):

    def resolve(self, platform, argv):
        analyzer = self.analyzer(platform=platform)
        self.world.scene_name = ""
        self.process_arguments(argv)
        return analyzer.getSceneNameFromMaya()

    def test_linux_positions(self):
        # (argument count, expected name)
        cases = [(4, u"a3"), (7, u"a3"), (8, u""), (9, u"a5"), (12, u"a5")]
        for count, expected in cases:
            argv = arguments(count)
            name = self.resolve("Linux", argv)
            self.assertEqual(name, expected, count)
            if expected:
                self.assertEqual(type(name), type(u""), count)
            self.assertEqual(self.logs(), [EMPTY_NAME, argument_line(argv)], count)

    def test_too_few_arguments_log_the_index_error(self):
        # (platform, argument count)
        for platform, count in (("Linux", 1), ("Linux", 3), ("Windows", 4), ("Windows", 2)):
            argv = arguments(count)
            self.assertIsNone(self.resolve(platform, argv), (platform, count))
            self.assertEqual(self.logs(), [EMPTY_NAME, argument_line(argv),
                                           ("Error", "Get Scene Name Error:list index out of range")])

    def test_linux_decodes_utf8(self):
        path = u"/projects/\u4e2d\u6587/scene.ma"
        entry = path.encode("utf-8") if PY2 else path
        self.assertEqual(self.resolve("Linux", ["maya", "-batch", "-file", entry]), path)

    def test_linux_argument_that_is_not_utf8_is_an_error(self):
        # What the system hands over for the bytes b"/scene\xff.ma".
        entry = b"/scene\xff.ma" if PY2 else os.fsdecode(b"/scene\xff.ma")
        argv = ["maya", "-batch", "-file", entry]
        self.assertIsNone(self.resolve("Linux", argv))
        self.assertEqual(self.logs()[-1], ("Error", "Get Scene Name Error:" + utf8_failure(entry)))

    def test_windows_takes_entry_four_gbk_decoded_when_possible(self):
        gbk = u"D:/\u4e2d\u6587/scene.ma".encode("gbk")
        # (entry 4, expected name)
        cases = [("D:/shot/scene.ma", u"D:/shot/scene.ma"),
                 (gbk, u"D:/\u4e2d\u6587/scene.ma"),
                 (b"D:/\xff\xff.ma", b"D:/\xff\xff.ma")]
        if not PY2:
            cases.append((u"D:/\u4e2d\u6587/scene.ma", u"D:/\u4e2d\u6587/scene.ma"))
        for entry, expected in cases:
            argv = ["maya", "-batch", "-proj", "D:/", entry, "-log"]
            name = self.resolve("Windows", argv)
            self.assertEqual(name, expected)
            self.assertEqual(type(name), type(expected))
            self.assertEqual(self.logs(), [EMPTY_NAME, argument_line(argv)])

    def test_other_platforms_give_the_empty_name(self):
        for platform in ("Darwin", None, "linux", "windows"):
            argv = arguments(9)
            self.assertEqual(self.resolve(platform, argv), "")
            self.assertEqual(self.logs(), [EMPTY_NAME, argument_line(argv)], platform)

    def test_construction_takes_the_platform_from_the_platform_check(self):
        self.clean_scene()
        self.world.scene_name = ""
        self.world.existing_scenes.add(u"a5")
        self.process_arguments(arguments(9))
        self.operating_system("Linux")
        self.assertEqual(self.construct(0).sceneName, u"a5")
        self.operating_system("Darwin")
        self.assertEqual(self.construct(0).sceneName, "")


class OpeningAScene(OperationTestCase):

    def test_opens_prints_and_returns_the_path(self):
        analyzer = self.analyzer()
        self.assertEqual(analyzer.getSceneNameFromParms("/projects/other.ma"), "/projects/other.ma")
        self.assertEqual(self.world.calls("py.file"),
                         [("py.file", ("/projects/other.ma",), {"open": True, "force": True})])
        self.assertEqual(self.world.stdout(), ["/projects/other.ma\n"])
        self.assertEqual(self.logs(), [])

    def test_a_scene_the_host_cannot_open_gives_none(self):
        analyzer = self.analyzer()
        self.world.failures[("file", "/projects/broken.ma")] = RuntimeError("Unexpected end of file")
        self.assertIsNone(analyzer.getSceneNameFromParms(sceneName="/projects/broken.ma"))
        self.assertEqual(self.logs(), [("Error", "Failed Open Scene: Unexpected end of file")])
        self.assertEqual(self.world.stdout(), [])


if __name__ == "__main__":
    unittest.main()
