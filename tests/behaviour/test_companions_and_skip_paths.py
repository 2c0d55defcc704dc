"""Companion files (".rstexbin", ".tx") and skip paths in the file accounting."""
from __future__ import print_function

import os
import re
import sys
import types
import unittest

from analysis_support import AnalysisTestCase, error_repr


class Settings(AnalysisTestCase):

    def test_settings_table(self):
        rs_off = ("Warring", "Cannot Found RSTEXBIN INI,SKIP RSTEXBIN")
        tx_off = ("Warring", "Default Arnold Tx Mode is 0")
        no_skip = ("Warring", "None Get Skiped Path.")
        rs_on = ("Info", "Rstexbin is set to 1, Getting Rstexbin.")
        tx_on = ("Info", "tx is set to 1, Getting tx.")
        cases = [
            # (environment, Customz, ini answer, lines in order, lines absent, companions looked for)
            ({}, 0, None, [rs_off, tx_off, no_skip], [rs_on, tx_on], []),
            ({"PELKRS": "1"}, 0, None, [tx_off, no_skip, rs_on], [rs_off, tx_on], [".rstexbin"]),
            ({"PELKRS": " +01 "}, 0, None, [tx_off, rs_on], [rs_off], [".rstexbin"]),
            ({"PELKRS": "2"}, 0, None, [tx_off], [rs_off, rs_on], []),
            ({"PELKRS": "1.0", "PELKTX": "yes"}, 0, None, [rs_off, tx_off], [rs_on, tx_on], []),
            ({"PELKTX": "1"}, 0, None, [rs_off, no_skip, tx_on], [tx_off, rs_on], [".tx"]),
            ({}, 4, None, [rs_off, tx_off, no_skip, tx_on], [rs_on], [".tx"]),
            ({"PELKTX": "0"}, 4, None, [rs_off, tx_on], [tx_off], [".tx"]),
            ({"PELKTX": "1"}, 3, None, [tx_on], [], [".tx"]),
            ({}, 0, [{"SKIPPATH": "lib|cache"}], [rs_off, tx_off, ("Debug", "Found SkipedPath lib|cache")],
             [no_skip], []),
            ({}, 0, [], [no_skip], [], []),
            ({}, 0, [{"OTHER": "x"}], [no_skip], [], []),
            ({}, 0, IOError("unreadable"), [no_skip], [], []),
        ]
        for environment, customisation, ini, lines, absent, suffixes in cases:
            self.reset()
            texture = self.make_file("wood.png", 1)
            companions = dict((suffix, self.make_file("wood" + suffix, 10)) for suffix in (".rstexbin", ".tx"))
            self.gather(files=[texture])
            self.world.ini = ini
            self.set_environment(**environment)
            if customisation == 4:
                sys.modules["vCus"] = types.ModuleType("vCus")
            _, result = self.analyse(Customz=customisation)
            label = (environment, customisation, ini)
            self.assertLogsInOrder(lines)
            for line in absent:
                self.assertNotIn(line, self.logs(), label)
            self.assertEqual(sorted(result["files"]), sorted([texture] + [companions[s] for s in suffixes]), label)


class Companions(AnalysisTestCase):

    def setUp(self):
        AnalysisTestCase.setUp(self)
        self.set_environment(PELKRS="1", PELKTX="1")

    def test_existing_companions_are_accounted_before_their_texture(self):
        texture = self.make_file("tex/wood.png", 100)
        binary = self.make_file("tex/wood.rstexbin", 20)
        tx = self.make_file("tex/wood.tx", 3)
        self.gather(files=[texture])
        _, result = self.analyse()
        self.assertEqual(self.recorded(), [binary, tx, texture])
        self.assertEqual(sorted(result["files"]), sorted([texture, binary, tx]))
        self.assertLogged(*self.total_line(3, 123))

    def test_companion_names_follow_the_extension_rule(self):
        cases = [("a.b.png", "a.b.tx"), ("plain", "plain.tx"), (".hidden", ".hidden.tx"), ("d.dir/x", "d.dir/x.tx")]
        for texture_name, companion_name in cases:
            self.reset()
            texture = self.make_file(texture_name, 1)
            companion = self.make_file(companion_name, 2)
            self.gather(files=[texture])
            _, result = self.analyse()
            self.assertEqual(sorted(result["files"]), sorted([texture, companion]), texture_name)

    def test_absent_companions_add_nothing(self):
        texture = self.make_file("wood.png", 4)
        self.gather(files=[texture])
        _, result = self.analyse()
        self.assertEqual(result["files"], [texture])
        self.assertEqual(self.recorded(), [texture])
        self.assertEqual([t for t in self.log_texts("Error")], [])

    def test_a_companion_is_looked_up_under_its_real_path(self):
        target = self.make_file("store/wood.tx", 9)
        texture = self.make_file("tex/wood.png", 1)
        os.symlink(target, os.path.join(self.root, "tex", "wood.tx"))
        self.gather(files=[texture])
        _, result = self.analyse()
        self.assertIn(target, self.file_lookups())
        self.assertEqual(sorted(result["files"]), sorted([texture, target]))
        self.assertLogged(*self.total_line(2, 10))

    def test_a_tx_texture_that_is_its_own_companion_counts_once(self):
        tx = self.make_file("wood.tx", 8)
        self.gather(files=[tx])
        _, result = self.analyse()
        self.assertEqual(result["files"], [tx])
        self.assertEqual(self.recorded(), [tx])
        self.assertLogged(*self.total_line(1, 8))

    def test_two_textures_sharing_a_companion_count_it_once(self):
        png = self.make_file("wood.png", 1)
        jpg = self.make_file("wood.jpg", 2)
        tx = self.make_file("wood.tx", 30)
        self.gather(files=[png, jpg])
        _, result = self.analyse()
        self.assertEqual(self.recorded().count(tx), 1)
        self.assertLogged(*self.total_line(3, 33))

    def test_a_failing_companion_is_logged_and_its_texture_still_counts(self):
        texture = self.make_file("wood.png", 5)
        self.make_file("wood.tx", 7)
        vanished = os.path.join(self.root, "gone", "wood.tx")
        # The on-disk form of the companion cannot be sized.
        self.world.real_disk_path = lambda p: vanished if p.endswith("wood.tx") else p
        self.gather(files=[texture])
        _, result = self.analyse()
        representation, _ = error_repr(os.path.getsize, vanished)
        self.assertLogged("Error", "Get companion file err:%s" % representation)
        self.assertEqual(result["files"], [texture])
        self.assertEqual(self.recorded(), [texture])
        self.assertLogged(*self.total_line(1, 5))

    def test_a_failing_lookup_of_one_companion_leaves_the_other(self):
        texture = self.make_file("wood.png", 5)
        self.make_file("wood.rstexbin", 7)
        tx = self.make_file("wood.tx", 11)
        failure = RuntimeError("lookup failed")

        def lookup(path):
            if path.endswith(".rstexbin"):
                raise failure
            return path
        self.world.real_disk_path = lookup
        self.gather(files=[texture])
        _, result = self.analyse()
        self.assertLogged("Error", "Get companion file err:%s" % repr(failure))
        self.assertEqual(sorted(result["files"]), sorted([texture, tx]))
        self.assertLogged(*self.total_line(2, 16))


class SkipPaths(AnalysisTestCase):

    def skip(self, setting):
        self.world.ini = [{"SKIPPATH": setting}]

    def filter_lines(self):
        return [text for level, text in self.logs("Debug") if text.startswith("Filter Path: ")]

    def test_matching_files_are_left_out(self):
        left_lib = self.make_file("proj/LIB/x.png", 1)
        kept = self.make_file("proj/tex/x.png", 2)
        both = self.make_file("cache/lib/x.png", 4)
        self.skip("lib|cache")
        self.gather(files=[left_lib, kept, both])
        _, result = self.analyse()
        self.assertEqual(result["files"], [kept])
        self.assertEqual(self.recorded(), [kept])
        self.assertLogged(*self.total_line(1, 2))
        self.assertEqual(sorted(self.filter_lines()),
                         sorted(["Filter Path: " + left_lib] + ["Filter Path: " + both] * 2))
        self.assertEqual(self.log_texts("Debug").count("Starting Filter Path."), 3)

    def test_setting_forms(self):
        cases = [
            # (setting, file names, names left out)
            (" | |  | ", ["a.png"], []),
            ("my lib", ["mylib/a.png", "my/lib/b.png"], ["mylib/a.png"]),
            (r"\.tmp$", ["a.tmp", "a.tmp.png"], ["a.tmp"]),
            ("TEX", ["tex/a.png", "other/b.png"], ["tex/a.png"]),
            ("^/nowhere", ["a.png"], []),
        ]
        for setting, names, left_out in cases:
            self.reset()
            paths = dict((name, self.make_file(name, 1)) for name in names)
            self.skip(setting)
            self.gather(files=list(paths.values()))
            _, result = self.analyse()
            kept = sorted(paths[n] for n in names if n not in left_out)
            self.assertEqual(sorted(result["files"]), kept, setting)
            self.assertEqual(self.log_texts("Debug").count("Starting Filter Path."), len(names), setting)

    def test_companions_of_a_left_out_file_are_still_accounted(self):
        self.set_environment(PELKTX="1")
        texture = self.make_file("lib/wood.png", 1)
        tx = self.make_file("lib/wood.tx", 2)
        self.skip("wood.png")
        self.gather(files=[texture])
        _, result = self.analyse()
        self.assertEqual(result["files"], [tx])

    def test_an_unreadable_size_keeps_the_file(self):
        absent = os.path.join(self.root, "tex", "absent.png")
        self.skip("cache")
        self.gather(files=[absent])
        _, result = self.analyse()
        representation, _ = error_repr(os.path.getsize, absent)
        self.assertLogsInOrder([("Error", "Get file size err:%s" % representation), ("Error", absent)])
        self.assertEqual(result["files"], [absent])
        self.assertEqual(self.recorded(), [absent])
        self.assertLogged(*self.total_line(1, 0))

    def test_an_invalid_piece_is_logged_once_and_ignored(self):
        kept = [self.make_file("a.png", 1), self.make_file("b.png", 2)]
        left = self.make_file("lib/c.png", 4)
        self.skip("lib|(unclosed|[z-a]")
        self.gather(files=kept + [left])
        _, result = self.analyse()
        invalid = [line for line in self.log_texts("Error") if line.startswith("Invalid Skip Path")]
        expected = ["Invalid Skip Path %s: %s" % (piece, error_repr(re.compile, piece, re.I)[1])
                    for piece in ("(unclosed", "[z-a]")]
        self.assertEqual(invalid, expected)
        self.assertEqual(sorted(result["files"]), sorted(kept))
        self.assertLogged(*self.total_line(2, 3))

    def test_a_setting_that_is_not_text_fails_each_file(self):
        path = self.make_file("a.png", 1)
        self.skip(None)
        self.gather(files=[path])
        _, result = self.analyse()
        self.assertLogged("Debug", "Found SkipedPath None")
        self.assertEqual(result["files"], [])
        errors = self.log_texts("Error")
        self.assertEqual(len(errors), 2)
        self.assertTrue(errors[0].startswith("Set File to New Set Error: TypeError("), errors)
        self.assertTrue(errors[1].startswith("Set File: %s to New Set Error: " % path), errors)


if __name__ == "__main__":
    unittest.main()
