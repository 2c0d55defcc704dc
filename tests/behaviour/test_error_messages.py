# -*- coding: utf-8 -*-
"""Missing-file and VRay codes, and every raised code expanded into messages from the catalogue."""
from __future__ import print_function

import json
import os
import unittest

from analysis_support import AnalysisTestCase, PY2, read_catalogue, shipped_catalogue_folder
import support

SCENE = "/p/shot.ma"
ALL_CODES = [10001, 10002, 10003, 10004, 10005, 10006, 10007, 10008, 10009, 10010, 10011, 10019, 10020]


class MessagesTestCase(AnalysisTestCase):

    def use_catalogue(self, entries):
        support.write_catalogue(self.folder, entries)

    def expand(self, entries, **attributes):
        self.use_catalogue(entries)
        attributes.setdefault("sceneName", SCENE)
        return self.analyse(**attributes)


class MissingFileCode(MessagesTestCase):

    def test_no_missing_files_raise_nothing(self):
        entries = [{"code": 10002, "en": "[${missingFiles}]", "cn": u"[${missingFiles}]"}]
        analyzer, result = self.expand(entries, status=1, errorCodes=[10002])
        self.assertEqual(analyzer.status, 1)
        self.assertEqual(analyzer.errorCodes, [10002])
        self.assertEqual(result["msg"], [{"code": 10002, "en": "[]", "cn": "[]"}])

    def test_missing_files_raise_10001_and_are_listed_with_line_ends(self):
        entries = [{"code": 10001, "en": "Missing:\r\n${missingFiles}", "cn": u"\u7f3a\u5931:\r\n${missingFiles}"}]
        self.gather(missing=["a.tx", "b.tx"])
        analyzer, result = self.expand(entries)
        listed = "".join(path + "\r\n" for path in analyzer.missingFiles)  # the set's order
        self.assertEqual(sorted(listed.split("\r\n")), ["", "a.tx", "b.tx"])
        self.assertEqual(analyzer.status, 1)
        self.assertEqual(analyzer.errorCodes, [10001])
        self.assertEqual(result["msg"], [{"code": 10001, "en": "Missing:\r\n" + listed,
                                          "cn": u"\u7f3a\u5931:\r\n" + listed}])

    def test_missing_file_texts_table(self):
        gbk_name = u"\u4e2d\u6587.png"
        cases = [
            # (missing paths, expected entries of the list)
            ([u"/t/\u00e9.png"], [u"/t/\u00e9.png"]),
            ([gbk_name.encode("gbk")], [gbk_name]),
            ([b"/t/ascii.png"], [u"/t/ascii.png"]),
            ([b"\xff\xff.png", u"/t/ok.png"], [u"/t/ok.png"]),  # not GBK: left out
            ([gbk_name.encode("gbk"), u"/t/\u00e9.png"], [gbk_name, u"/t/\u00e9.png"]),
        ]
        entries = [{"code": 10001, "en": "${missingFiles}", "cn": "${missingFiles}"}]
        for missing, listed in cases:
            self.reset()
            self.gather(missing=missing)
            _, result = self.expand(entries)
            lines = result["msg"][0]["en"].split(u"\r\n")
            self.assertEqual(lines[-1], u"")
            self.assertEqual(sorted(lines[:-1]), sorted(listed), missing)
            self.assertEqual(result["msg"][0]["cn"], result["msg"][0]["en"])


class VRayCode(MessagesTestCase):

    def test_vray_code_table(self):
        entries = [{"code": 10020, "en": "old vray", "cn": u"\u65e7"}, {"code": 10002, "en": "none", "cn": "x"}]
        cases = [
            # (status before, codes before, comparison answer, status after, codes after)
            (0, [], True, 1, [10020]),
            (0, [], False, 0, []),
            (1, [10005], True, 1, [10005, 10020]),
            (2, [10002], True, 2, [10002, 10020]),  # an error is never lowered by this warning
            (2, [10002], 0, 2, [10002]),
        ]
        for status, codes, answer, final_status, final_codes in cases:
            self.reset()
            self.use_catalogue(entries)
            analyzer = self.analyzer(status=status, errorCodes=list(codes), sceneName=SCENE)
            analyzer.compareVRayMachine = lambda answer=answer: answer
            result = json.loads(analyzer.AnlyzerSenceFile())
            self.assertEqual((result["status"], analyzer.errorCodes), (final_status, final_codes))
            self.assertEqual([m["code"] for m in result["msg"]], [c for c in final_codes if c in (10002, 10020)])


class Expansion(MessagesTestCase):

    def test_each_code_is_logged_and_matched_in_catalogue_order(self):
        entries = [{"code": 10003, "en": "first", "cn": "1"}, {"code": 10005, "en": "other", "cn": "2"},
                   {"code": 10003, "en": "second", "cn": "3"}]
        _, result = self.expand(entries, errorCodes=[10003, 10009, 10003])
        self.assertEqual([m["en"] for m in result["msg"]], ["first", "second", "first", "second"])
        self.assertEqual([t for t in self.log_texts("Info") if t.startswith("Get errorCode")],
                         ["Get errorCode 10003", "Get errorCode 10009", "Get errorCode 10003"])

    def test_code_equality_table(self):
        cases = [
            # (catalogue code, raised code, matches)
            (10001, 10001, True),
            (10001.0, 10001, True),
            ("10001", 10001, False),
            (True, 1, False),
            (1, True, False),
            (None, 10001, False),
            (10002, 10001, False),
        ]
        for catalogue_code, raised, matches in cases:
            self.reset()
            _, result = self.expand([{"code": catalogue_code, "en": "e", "cn": "c"}], errorCodes=[raised])
            self.assertEqual(len(result["msg"]), 1 if matches else 0, (catalogue_code, raised))

    def test_placeholders_are_filled_in_each_language_independently(self):
        entries = [{"code": 10002, "en": "${scenePath} and ${scenePath}", "cn": u"\u573a\u666f"},
                   {"code": 10002, "en": "plain", "cn": u"${scenePath}/${missingFiles}"}]
        _, result = self.expand(entries, errorCodes=[10002], status=2)
        self.assertEqual(result["msg"], [
            {"code": 10002, "en": SCENE + " and " + SCENE, "cn": u"\u573a\u666f"},
            {"code": 10002, "en": "plain", "cn": SCENE + "/"},
        ])

    def test_an_unresolved_scene_reads_as_empty_text(self):
        entries = [{"code": 10002, "en": "Scene [${scenePath}] not found", "cn": u"[${scenePath}]"}]
        _, result = self.expand(entries, errorCodes=[10002], status=2, sceneName=None)
        self.assertEqual(result["msg"], [{"code": 10002, "en": "Scene [] not found", "cn": "[]"}])
        self.assertIsNone(result["model"]["scenePath"])

    def test_malformed_entries_end_the_analysis(self):
        cases = [
            [{"en": "no code", "cn": "x"}],
            [{"code": 10002, "cn": "no en"}],
            [{"code": 10002, "en": "no cn"}],
            [10002],
        ]
        for entries in cases:
            self.reset()
            self.use_catalogue(entries)
            analyzer = self.analyzer(errorCodes=[10002], status=2)
            self.assertRaises((KeyError, TypeError), analyzer.AnlyzerSenceFile)

    def test_an_entry_without_texts_for_an_unraised_code_is_passed_over(self):
        _, result = self.expand([{"code": 10004}, {"code": 10002, "en": "e", "cn": "c"}], errorCodes=[10002])
        self.assertEqual(result["msg"], [{"code": 10002, "en": "e", "cn": "c"}])


class ShippedCatalogue(MessagesTestCase):

    def setUp(self):
        MessagesTestCase.setUp(self)
        # Where the offline environment's vfile lives: two levels below the shipped catalogue.
        support.vfile.__file__ = os.path.join(shipped_catalogue_folder(), "service", "modules", "vfile.py")

    def test_the_location_rule_finds_the_shipped_file(self):
        analyzer = self.analyzer()
        self.assertEqual(analyzer.scriptPath, os.path.realpath(os.path.join(shipped_catalogue_folder(), "VANTORCODE")))
        self.assertEqual(analyzer.errorInfo, read_catalogue(analyzer.scriptPath))

    def test_every_raised_code_has_an_english_and_a_chinese_message(self):
        self.gather(missing=["/t/a.png", "/t/b.png"])
        analyzer = self.analyzer(errorCodes=[c for c in ALL_CODES if c not in (10001, 10020)], sceneName=SCENE)
        analyzer.compareVRayMachine = lambda: True
        text = analyzer.AnlyzerSenceFile()
        result = json.loads(text)
        self.assertEqual(sorted(m["code"] for m in result["msg"]), ALL_CODES)
        for message in result["msg"]:
            self.assertTrue(message["en"].strip(), message)
            self.assertTrue(any(ord(c) > 127 for c in message["cn"]), message)
            for language in ("en", "cn"):
                self.assertNotIn("${", message[language])
        missing = [m for m in result["msg"] if m["code"] == 10001][0]
        for language in ("en", "cn"):
            self.assertIn("/t/a.png\r\n", missing[language])
            self.assertIn(SCENE, missing[language])
        # The Chinese texts travel as backslash-u escapes: the result text is pure ASCII.
        self.assertTrue(all(ord(c) < 128 for c in text))
        self.assertIn("\\u", text)


if __name__ == "__main__":
    unittest.main()
