# -*- coding: utf-8 -*-
"""vout: log lines, asset manifest and durable result delivery."""
from __future__ import print_function

import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
MODULES = os.path.join(HERE, "..", "service", "modules")
sys.path.insert(0, MODULES)

import vout  # noqa: E402


class VoutTest(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="vout-test-")
        self.addCleanup(shutil.rmtree, self.root)
        saved = dict(os.environ)
        self.addCleanup(lambda: (os.environ.clear(), os.environ.update(saved)))
        for name, value in (("LOG", "log.txt"), ("ASSETS", "assets.txt"), ("RESULT", "out/result.json"),
                            ("MISSING", "missing.txt")):
            os.environ["VANALYZER_" + name] = os.path.join(self.root, value)
        os.environ["VANALYZER_STDERR_LEVEL"] = "none"
        os.makedirs(os.path.join(self.root, "out"))

    def read(self, name):
        with io.open(os.path.join(self.root, name), encoding="utf-8") as handle:
            return handle.read()

    def test_log_lines_carry_time_and_level(self):
        vout.Debug("one")
        vout.Info(u"deux \u00e9t\u00e9")
        vout.Warring(b"\xe4\xb8\xad GBK-free utf-8")
        vout.Error(u"\u4e2d\u6587".encode("gbk"))
        vout._log_all("Info", [u"found \u00e9", b"found too"])
        vout._log_all("Error", [])
        lines = self.read("log.txt").splitlines()
        stamp = r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}"
        expected = [("Debug", u"one"), ("Info", u"deux \u00e9t\u00e9"),
                    ("Warring", u"\u4e2d GBK-free utf-8"), ("Error", u"\u4e2d\u6587"),
                    ("Info", u"found \u00e9"), ("Info", u"found too")]
        self.assertEqual(len(lines), len(expected))
        for line, (level, text) in zip(lines, expected):
            self.assertTrue(re.match(u"^%s \\[%s\\] %s$" % (stamp, level, re.escape(text)), line), line)

    def test_stderr_threshold(self):
        script = ("import sys; sys.path.insert(0, %r); import vout\n"
                  "vout.Debug('d'); vout.Info('i'); vout.Warring('w'); vout.Error('e')\n"
                  "vout._log_all('Info', ['i1', 'i2']); vout._log_all('Warring', ['w1', 'w2'])\n") % MODULES
        # (threshold, levels echoed on standard error)
        cases = [(None, ["Debug", "Info", "Warring", "Error", "Info", "Info", "Warring", "Warring"]),
                 ("Warring", ["Warring", "Error", "Warring", "Warring"]), ("error", ["Error"]), ("none", [])]
        for threshold, levels in cases:
            env = dict(os.environ)
            env.pop("VANALYZER_STDERR_LEVEL")
            if threshold:
                env["VANALYZER_STDERR_LEVEL"] = threshold
            child = subprocess.Popen([sys.executable, "-c", script], env=env, stderr=subprocess.PIPE)
            err = child.communicate()[1].decode("utf-8")
            self.assertEqual(re.findall(r"\[(\w+)\]", err), levels)

    def test_manifests_append_one_path_a_line(self):
        # the asset manifest is complete once the result is delivered, even when the host is
        # killed right after, as the analyzer ends it
        script = ("# -*- coding: utf-8 -*-\nimport os, signal, sys; sys.path.insert(0, %r); import vout\n"
                  "vout.RecordAssets('/a/b.png'); vout.RecordAssets(u'/a/\\u00e9.png')\n"
                  "vout.RecordMissing('/gone.png'); vout.RecordMissingFiles(['/x.png', u'/\\u4e2d.png'])\n"
                  "vout.RecordMissingFiles([])\n"
                  "sys.stdout.write(open(os.environ['VANALYZER_MISSING']).read()); sys.stdout.flush()\n"
                  "vout.OutResult('{}'); os.kill(os.getpid(), signal.SIGKILL)\n") % MODULES
        child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE)
        missing_while_running = child.communicate()[0].decode("utf-8")
        self.assertEqual(missing_while_running, u"/gone.png\n/x.png\n/\u4e2d.png\n")
        self.assertEqual(self.read("assets.txt"), u"/a/b.png\n/a/\u00e9.png\n")
        self.assertEqual(self.read("missing.txt"), missing_while_running)

    def test_a_manifest_of_many_lines_keeps_them_all_in_order(self):
        # more lines than are held back at once, and a client that points the host elsewhere midway
        first = [u"/a/%05d.png" % index for index in range(10000)] + [u"/a/\u00e9.png"]
        second = [u"/b/%05d.png" % index for index in range(5000)]
        for path in first[:6000]:
            vout.RecordAssets(path)
        os.environ["VANALYZER_ASSETS"] = os.path.join(self.root, "other.txt")
        for path in second:
            vout.RecordAssets(path.encode("utf-8"))  # bytes are recorded as their text
        os.environ["VANALYZER_ASSETS"] = os.path.join(self.root, "assets.txt")
        for path in first[6000:]:
            vout.RecordAssets(path)
        vout.OutResult("{}")
        self.assertEqual(self.read("assets.txt").splitlines(), first)
        self.assertEqual(self.read("other.txt").splitlines(), second)

    def test_an_unwritable_manifest_fails_at_its_first_line(self):
        os.environ["VANALYZER_ASSETS"] = os.path.join(self.root, "out", "result.json", "assets.txt")
        with open(os.path.join(self.root, "out", "result.json"), "w"):
            pass  # a file where the manifest's folder should be
        self.assertRaises(OSError, vout.RecordAssets, u"/a/b.png")

    def test_result_replaces_whole_and_leaves_no_temporary(self):
        vout.OutResult('{"status": 1}')
        vout.OutResult('{"status": 0, "msg": []}')
        self.assertEqual(self.read("out/result.json"), u'{"status": 0, "msg": []}')
        self.assertEqual(os.listdir(os.path.join(self.root, "out")), ["result.json"])

    def test_result_is_the_texts_utf8_whatever_its_size(self):
        # written a piece at a time: characters across a piece's end, a pair of surrogates on 2.7
        piece = vout._PIECE
        cases = [u"{}", u"\u00e9" * (piece + 3), u"a" * (piece - 1) + u"\u4e2d\u6587" + u"b" * piece,
                 u"a" * (piece - 1) + u"\U0001F600", b'{"bytes": 1}']
        for text in cases:
            vout.OutResult(text)
            with open(os.path.join(self.root, "out", "result.json"), "rb") as handle:
                self.assertEqual(handle.read(), text if isinstance(text, bytes) else text.encode("utf-8"))

    def test_unwritable_result_raises_and_leaves_nothing(self):
        target = os.path.join(self.root, "no-such-folder", "result.json")
        os.environ["VANALYZER_RESULT"] = target
        with self.assertRaises(OSError) as caught:
            vout.OutResult("{}")
        # the error names the result file, not a temporary one
        self.assertIn("cannot write the result %s: " % target, str(caught.exception))
        self.assertFalse(os.path.exists(os.path.join(self.root, "no-such-folder")))
        # a folder standing where the file should go: the rename fails, the temporary goes
        os.environ["VANALYZER_RESULT"] = os.path.join(self.root, "out")
        self.assertRaises(OSError, vout.OutResult, "{}")
        self.assertEqual((os.listdir(self.root), os.listdir(os.path.join(self.root, "out"))), (["out"], []))

    def test_result_survives_sigkill_right_after_delivery(self):
        if not hasattr(os, "kill") or os.name != "posix":
            self.skipTest("SIGKILL is POSIX")
        text = '{"files": [%s]}' % ", ".join('"/x/%d.png"' % i for i in range(20000))
        script = ("import os, signal, sys; sys.path.insert(0, %r); import vout\n"
                  "vout.RecordAssets('/last.png')\n"
                  "vout.OutResult(sys.stdin.read())\n"
                  "os.kill(os.getpid(), signal.SIGKILL)\n") % MODULES
        child = subprocess.Popen([sys.executable, "-c", script], stdin=subprocess.PIPE)
        child.communicate(text.encode("ascii"))
        self.assertEqual(child.returncode, -9)
        self.assertEqual(self.read("out/result.json"), text)
        self.assertEqual(self.read("assets.txt"), u"/last.png\n")


if __name__ == "__main__":
    unittest.main()
