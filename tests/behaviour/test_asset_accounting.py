"""Asset collection and the plain file accounting of AnlyzerSenceFile."""
from __future__ import print_function

import os
import sys
import unittest

from analysis_support import AnalysisTestCase, PY2, error_repr
import scenario

GATHERERS = ["vfile.getAssets", "vfile.getArnoldAssets", "vfile.getRedShiftAssets", "vfile.getVRayAssets",
             "vfile.getRenerManAssets"]


class SkippedStage(AnalysisTestCase):

    def test_status_2_skips_the_whole_asset_stage(self):
        self.gather(files=[self.make_file("a.png", 3)], missing=["m.png"])
        self.world.existing_plugins.add("xgenToolkit")
        analyzer, result = self.analyse(status=2, errorCodes=[10002], melString="", sceneName="/p/s.ma")
        self.assertEqual(self.logs()[0], ("Error", "Skip Analyzer Assets: Status is 2."))
        self.assertEqual(result["files"], [])
        self.assertEqual(result["model"]["custom"]["melString"], "")
        self.assertEqual(analyzer.sceneName, "/p/s.ma")
        asked = [name for name, _, _ in self.world.calls()]
        for name in GATHERERS + ["vfile.getEvaluation", "vfile.getIniConfiger", "vutils.getRealDiskPath",
                                 "vout.RecordAssets", "py.pluginInfo", "vutils.isPluginExist"]:
            self.assertNotIn(name, asked)
        self.assertNotIn(10001, analyzer.errorCodes)
        # The later steps still run: the raised code is expanded, the record is complete.
        self.assertEqual([m["code"] for m in result["msg"]], [10002])
        self.assertEqual(result["status"], 2)


class StageOrder(AnalysisTestCase):

    def test_steps_run_in_their_order(self):
        path = self.make_file("tex/a.png", 4)
        self.gather(files=[path], missing=["m.png"])
        self.analyse(GetRSCache=1, sceneName="/p/s.ma")
        events = [e for e in self.world.events if e[0] in ("log", "call")]
        expected = [
            ("log", "Info", "Scene Status is 0."),
            ("call", "vfile.getAssets", ("/p/s.ma",), {}),
            ("call", "vfile.getArnoldAssets", (), {}),
            ("call", "vfile.getRedShiftAssets", (1,), {}),
            ("call", "vfile.getVRayAssets", (), {}),
            ("call", "vfile.getRenerManAssets", (), {}),
            ("log", "Debug", "Starting Get Evalution Mode."),
            ("call", "vfile.getEvaluation", (), {}),
            ("log", "Debug", 'melString content: \r\nevaluationManager -mode "off";\r\n\r\n'),
            ("log", "Debug", "Ending Geration Mel."),
            ("log", "Warring", "Cannot Found RSTEXBIN INI,SKIP RSTEXBIN"),
            ("log", "Warring", "Default Arnold Tx Mode is 0"),
            ("call", "vfile.getIniConfiger", ("Customzation", "SKIPPATH"), {}),
            ("log", "Warring", "None Get Skiped Path."),
            ("call", "vutils.getRealDiskPath", ("/p/s.ma",), {}),
            ("log", "Info", "change1 scenePath to: /p/s.ma"),
            ("call", "vutils.getRealDiskPath", (path,), {}),
            ("call", "vout.RecordAssets", (path,), {}),
            ("log",) + self.total_line(1, 4),
            ("call", "py.pluginInfo", (), {"query": True, "pluginsInUse": True}),
            ("log", "Info", 'Plugins in used:"%s".' % (self.world.plugins_in_use,)),
            ("log", "Debug", "Missing Files Count is : 1"),
            ("call", "vutils.isPluginExist", ("xgenToolkit",), {}),
        ]
        self.assertEqual(events[:len(expected)], expected)


class Merging(AnalysisTestCase):

    def test_files_and_missing_files_are_unions_of_every_gatherer(self):
        names = ["getAssets", "getArnoldAssets", "getRedShiftAssets", "getVRayAssets", "getRenerManAssets"]
        for index, name in enumerate(names):
            self.gather(files=["/f/%d.png" % index, "/f/shared.png"], missing=["/m/%d.png" % index, "/f/shared.png"],
                        gatherer=name)
        before, missing_before = set(["/f/before.png"]), set(["/m/before.png"])
        analyzer, _ = self.analyse(files=before, missingFiles=missing_before)
        self.assertEqual(analyzer.files, set(["/f/%d.png" % i for i in range(5)] + ["/f/shared.png", "/f/before.png"]))
        self.assertEqual(analyzer.missingFiles,
                         set(["/m/%d.png" % i for i in range(5)] + ["/f/shared.png", "/m/before.png"]))
        # the merge makes new sets: neither the analyzer's sets before it nor any gatherer's change
        self.assertEqual((before, missing_before), (set(["/f/before.png"]), set(["/m/before.png"])))
        for index, name in enumerate(names):
            group = self.world.asset_groups[name]
            self.assertEqual((group.files, group.missingFiles), (set(["/f/%d.png" % index, "/f/shared.png"]),
                                                                 set(["/m/%d.png" % index, "/f/shared.png"])))

    def test_a_gatherer_failure_ends_the_analysis(self):
        self.world.asset_groups["getVRayAssets"] = RuntimeError("scan failed")
        analyzer = self.analyzer()
        self.assertRaises(RuntimeError, analyzer.AnlyzerSenceFile)


class EvaluationMode(AnalysisTestCase):

    def test_the_script_is_stored(self):
        self.world.evaluation = "evaluationManager -mode \"parallel\";"
        analyzer, result = self.analyse()
        self.assertEqual(analyzer.melString, "evaluationManager -mode \"parallel\";")
        self.assertEqual(result["model"]["custom"]["melString"], analyzer.melString)

    def test_a_failure_is_a_warning_and_keeps_the_script(self):
        failure = ValueError("no evaluation", 3)
        self.world.evaluation = failure
        analyzer, _ = self.analyse(melString="kept")
        self.assertEqual(analyzer.melString, "kept")
        self.assertLogsInOrder([("Debug", "Starting Get Evalution Mode."),
                                ("Warring", "geration mel err:%s" % repr(failure))])
        self.assertNotLogged("Ending Geration Mel.")


class ScenePath(AnalysisTestCase):

    def test_resolution_table(self):
        encoded_name = u"/p/\u573a\u666f.ma"

        def failing_once(path, seen=[]):
            seen.append(path)
            if len(seen) == 1:
                raise IOError("first lookup failed")
            return path.upper()

        cases = [
            # (scene name, lookup, expected lookups, expected sceneName, expected Info lines)
            ("/p/s.ma", lambda p: p + ".disk", ["/p/s.ma"], "/p/s.ma.disk", ["change1 scenePath to: /p/s.ma.disk"]),
            ("", None, [""], "", ["utf-8 code err.", "change2 scenePath to: "]),
            (None, None, [None], None, ["change2 scenePath to: None"]),
            ("/p/s.ma", failing_once, ["/p/s.ma", "/p/s.ma"], "/P/S.MA", ["change2 scenePath to: /P/S.MA"]),
        ]
        # 2.7 asks for the UTF-8 bytes first; 3.x hands on the str itself.
        cases.append((encoded_name, None, [encoded_name.encode("utf-8") if PY2 else encoded_name],
                      encoded_name.encode("utf-8") if PY2 else encoded_name, None))
        if not PY2:
            lone = u"/p/\udcff.ma"  # does not encode as UTF-8: the second attempt asks with the name itself
            cases.append((lone, None, [lone], lone, ["change2 scenePath to: " + lone]))
        for name, lookup, lookups, resolved, lines in cases:
            self.reset()
            self.world.real_disk_path = lookup
            analyzer, _ = self.analyse(sceneName=name)
            self.assertEqual(self.disk_lookups(), lookups, name)
            self.assertEqual(analyzer.sceneName, resolved, name)
            for line in lines or []:
                self.assertLogged("Info", line)
            self.assertEqual(type(self.disk_lookups()[0]), type(lookups[0]))

    def test_a_failing_second_lookup_ends_the_analysis(self):
        def lookup(path):
            raise IOError("no disk")
        self.world.real_disk_path = lookup
        analyzer = self.analyzer()
        self.assertRaises(IOError, analyzer.AnlyzerSenceFile)


class AbsolutePaths(AnalysisTestCase):

    def test_references_are_made_absolute_as_os_path_abspath_does(self):
        work = os.path.join(self.root, "work")
        os.makedirs(work)
        os.chdir(work)
        references = ["tex/a.png", "./b.png", "../c.png", "tex//d.png", "tex/../e.png", "/abs/./f.png",
                      "/abs/x/../g.png", "//abs/h.png", "///abs/i.png", "tex/j.png/", u"tex/\u00e9.png"]
        self.gather(files=references)
        _, result = self.analyse()
        lookups = self.file_lookups()
        expected = [os.path.abspath(r) for r in references]
        if PY2:
            # 2.7 asks with the UTF-8 bytes of Unicode paths; they stand for the same text.
            lookups = [p.decode("utf-8") if isinstance(p, bytes) else p for p in lookups]
        self.assertEqual(sorted(lookups), sorted(expected))
        self.assertEqual(sorted(result["files"]), sorted(set(expected)))

    def test_byte_references_stay_bytes(self):
        os.chdir(self.root)
        self.gather(files=[b"tex/a.png"])
        analyzer = self.analyzer()
        if PY2:
            analyzer.AnlyzerSenceFile()
        else:
            # 3.x: bytes do not pass the UTF-8 check, the lookup is asked once with the bytes; the
            # result cannot carry bytes, so its serialisation fails.
            self.assertRaises(TypeError, analyzer.AnlyzerSenceFile)
        expected = os.path.abspath(b"tex/a.png")
        self.assertEqual(self.file_lookups(), [expected])
        self.assertEqual(self.recorded(), [expected])

    @unittest.skipIf(PY2, "path-like objects exist from 3.6")
    def test_path_like_references_are_resolved_by_the_interpreter(self):
        import pathlib
        path = self.make_file("p.png", 2)
        self.gather(files=[pathlib.PurePosixPath(path)])
        _, result = self.analyse()
        self.assertEqual(result["files"], [path])

    def test_a_reference_that_cannot_be_made_absolute_ends_the_analysis(self):
        self.gather(files=[None])
        analyzer = self.analyzer()
        self.assertRaises((TypeError, AttributeError), analyzer.AnlyzerSenceFile)


class Accounting(AnalysisTestCase):

    def test_sizes_are_totalled_and_every_file_recorded_once(self):
        paths = [self.make_file("a.png", 10), self.make_file("b/c.exr", 2500), self.make_file("d.tif", 0)]
        self.gather(files=paths[:2])
        self.gather(files=paths[2:], gatherer="getArnoldAssets")
        _, result = self.analyse()
        self.assertEqual(sorted(result["files"]), sorted(paths))
        self.assertEqual(sorted(self.recorded()), sorted(paths))
        self.assertLogged(*self.total_line(3, 2510))

    def test_sizes_beyond_32_bits_are_totalled(self):
        big = self.make_file("big.exr")
        with open(big, "r+b") as handle:
            handle.truncate(5 * 1024 ** 3 + 7)  # sparse: no disk space used
        small = self.make_file("small.png", 3)
        self.gather(files=[big, small])
        self.analyse()
        self.assertLogged(*self.total_line(2, 5 * 1024 ** 3 + 10))

    def test_no_files_gives_zero_totals(self):
        self.analyse()
        self.assertLogged(*self.total_line(0, 0))

    def test_an_unreadable_size_keeps_the_file(self):
        present = self.make_file("a.png", 5)
        absent = os.path.join(self.root, "absent.png")
        self.gather(files=[present, absent])
        _, result = self.analyse()
        representation, _ = error_repr(os.path.getsize, absent)
        self.assertLogsInOrder([("Error", "Get file size err:%s" % representation), ("Error", absent)])
        self.assertEqual(sorted(result["files"]), sorted([present, absent]))
        self.assertEqual(sorted(self.recorded()), sorted([present, absent]))
        self.assertLogged(*self.total_line(2, 5))

    def test_a_long_list_is_accounted_as_a_short_one(self):
        # enough files for the sizes to be asked for ahead of the loop: present and absent files,
        # relative and unnormalised references, and on-disk spellings that are other files
        os.chdir(self.root)
        sizes, references, spelled = {}, [], {}
        for index in range(600):
            kind = index % 6
            name = u"tex/f%03d.png" % index if kind != 5 else u"tex/\u00e9%03d.png" % index
            path = os.path.join(self.root, name)
            if kind != 1:
                sizes[path] = index
                self.make_file(name, index)
            if kind == 2:
                references.append(name)  # relative
            elif kind == 3:
                references.append(os.path.join(self.root, "tex", ".", os.path.basename(name)))
            else:
                references.append(path)
            if kind == 4:
                # the service names another file as the on-disk form: that file is sized
                other = self.make_file("disk/f%03d.png" % index, 1000 + index)
                spelled[path.encode("utf-8") if PY2 else path] = other
                sizes[other] = 1000 + index
        self.world.real_disk_path = lambda path: spelled.get(path, path)
        self.gather(files=references)
        _, result = self.analyse()

        # per file, in the loop's order: its lookup, its size error if any, its record
        expected, on_disk = [], []
        for lookup in self.file_lookups():
            found = spelled.get(lookup, lookup)
            found = found.decode("utf-8") if isinstance(found, bytes) else found
            on_disk.append(found)
            expected.append(("call", "vutils.getRealDiskPath"))
            if found not in sizes:
                representation, _ = error_repr(os.path.getsize, found)
                expected += [("log", "Error", "Get file size err:%s" % representation), ("log", "Error", found)]
            expected.append(("call", "vout.RecordAssets"))
        events = [event[:2] if event[0] == "call" else event for event in self.world.events
                  if event[0] == "log" and event[1] == "Error" or
                  event[0] == "call" and event[1] in ("vutils.getRealDiskPath", "vout.RecordAssets")]
        self.assertEqual(events[1:], expected)  # after the scene path's lookup
        self.assertEqual(len(on_disk), 600)
        self.assertEqual(sorted(result["files"]), sorted(on_disk))
        self.assertLogged(*self.total_line(600, sum(sizes.get(path, 0) for path in on_disk)))

    def test_references_reaching_one_path_are_sized_and_recorded_once(self):
        path = self.make_file("tex/a.png", 7)
        other = os.path.join(self.root, "tex", ".", "x", "..", "a.png")
        self.gather(files=[path, other, os.path.join(self.root, "tex//a.png")])
        _, result = self.analyse()
        self.assertEqual(result["files"], [path])
        self.assertEqual(self.recorded(), [path])
        self.assertLogged(*self.total_line(1, 7))

    def test_files_are_accounted_under_their_on_disk_form(self):
        path = self.make_file("Tex/A.png", 6)
        self.world.real_disk_path = lambda p: p.replace("/tex/a.png", "/Tex/A.png")
        self.gather(files=[os.path.join(self.root, "tex/a.png")])
        _, result = self.analyse()
        self.assertEqual(result["files"], [path])
        self.assertEqual(self.recorded(), [path])
        self.assertLogged(*self.total_line(1, 6))


class OnDiskLookup(AnalysisTestCase):

    def test_a_failed_first_lookup_asks_again_with_the_path_itself(self):
        path = self.make_file("a.png", 1)
        attempts = []

        def lookup(p):
            attempts.append(p)
            if len(attempts) == 2:  # the first lookup of the file (the scene's came first)
                raise OSError("first")
            return p
        self.world.real_disk_path = lookup
        self.gather(files=[path])
        _, result = self.analyse()
        self.assertEqual(self.file_lookups(), [path, path])
        self.assertEqual(result["files"], [path])

    def test_a_failed_second_lookup_abandons_only_that_file(self):
        bad = self.make_file("bad.png", 1)
        good = self.make_file("good.png", 2)
        failure = ValueError("cannot resolve", bad)

        def lookup(p):
            if p.endswith("bad.png"):
                raise failure
            return p
        self.world.real_disk_path = lookup
        self.gather(files=[bad, good])
        _, result = self.analyse()
        self.assertEqual(result["files"], [good])
        self.assertLogsInOrder([("Error", "Set File to New Set Error: %s." % repr(failure)),
                                ("Error", "Set File: %s to New Set Error: %s." % (bad, str(failure)))])
        self.assertLogged(*self.total_line(1, 2))


class Tidying(AnalysisTestCase):

    def test_the_empty_text_and_the_current_directory_do_not_reach_the_result(self):
        os.chdir(self.root)
        kept = self.make_file("a.png", 1)
        self.world.real_disk_path = lambda p: "" if p.endswith("empty") else p
        self.gather(files=[".", "", kept, "/x/empty"])
        _, result = self.analyse()
        self.assertEqual(result["files"], [kept])
        self.assertEqual(len([line for line in self.log_texts("Info") if "fileCount: 1," in line]), 1)

    def test_the_empty_missing_file_is_dropped_before_it_is_counted(self):
        self.gather(missing=["", "/m/a.png"])
        analyzer, _ = self.analyse()
        self.assertEqual(analyzer.missingFiles, set(["/m/a.png"]))
        self.assertLogged("Debug", "Missing Files Count is : 1")

    def test_plugins_in_use_are_logged_as_text(self):
        self.world.plugins_in_use = ["mtoa", "redshift4maya"]
        self.analyse()
        self.assertLogged("Info", 'Plugins in used:"%s".' % (["mtoa", "redshift4maya"],))

    def test_a_failing_plugin_query_ends_the_analysis(self):
        self.world.failures["pluginInfo"] = RuntimeError("no plug-in layer")
        analyzer = self.analyzer()
        self.assertRaises(RuntimeError, analyzer.AnlyzerSenceFile)


if __name__ == "__main__":
    unittest.main()
