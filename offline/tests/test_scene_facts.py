# -*- coding: utf-8 -*-
"""The host report's "scene" section: Maya's fileInfo when the host answers it, else the head of
the scene file (Maya ASCII lines, Maya Binary chunks). Runs on 2.7 and 3.x."""
from __future__ import print_function

import os
import shutil
import struct
import sys
import tempfile
import unittest

import support

sys.path.insert(0, os.path.join(support.REPO, "offline", "cli", "host_side"))
import scene_facts  # noqa: E402


def binary(form, chunks):
    """A Maya Binary head: FOR4/FOR8 HEAD group holding (tag, payload) chunks."""
    def chunk(tag, payload):
        if form == b"FOR8":
            return tag + b"\0\0\0\0" + struct.pack(">Q", len(payload)) + payload
        return tag + struct.pack(">I", len(payload)) + payload
    body = b"HEAD" + b"".join(chunk(tag, payload) for tag, payload in chunks)
    return chunk(form, body)


class Cmds(object):
    def __init__(self, path, file_info=None):
        self.path = path
        self.file_info = file_info

    def file(self, query=False, sceneName=False):
        assert query and sceneName
        return self.path

    def __getattr__(self, name):
        if name == "fileInfo" and self.file_info is not None:
            return lambda query=False: self.file_info
        raise RuntimeError("maya.cmds stand-in: command %r is not supported" % name)


class SceneFactsTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()

    def tearDown(self):
        shutil.rmtree(self.folder)

    def scene(self, data):
        path = os.path.join(self.folder, "scene")
        with open(path, "wb") as handle:
            handle.write(data)
        return path

    def test_the_head_of_the_file_when_the_host_has_no_file_info(self):
        vers = [(b"VERS", b"2018ff09"), (b"UVER", b"undef"), (b"FINF", b"application\0maya\0"),
                (b"FINF", b"product\0Maya 2018\0"), (b"FINF", b"version\0" + b"2018\0")]
        cases = [
            (b'//Maya ASCII 2022 scene\n//Codeset: UTF-8\nrequires maya "2022ff01";\nfileInfo "product" "Maya 2022";\n',
             "2022ff01", "Maya 2022"),
            (b"//Maya ASCII 2025 scene\n//Codeset: UTF-8\nfileInfo \"version\" \"2025\";\n", "2025", None),
            (b"requires maya \"2019\";\n", "2019", None),
            (b"not a scene at all", None, None),
            (binary(b"FOR8", vers), "2018ff09", "Maya 2018"),
            (binary(b"FOR4", vers), "2018ff09", "Maya 2018"),
            (binary(b"FOR4", [(b"FINF", b"version\0" + b"2013 x64\0")]), "2013 x64", None),
            (binary(b"FOR8", vers)[:30], None, None),  # cut inside the first chunk
        ]
        for data, version, product in cases:
            facts = scene_facts.facts(Cmds(self.scene(data)))
            self.assertEqual((facts["maya_version"], facts["product"], facts["from"]), (version, product, "header"),
                             data[:40])

    def test_file_info_as_maya_answers_it(self):
        flat = ["application", "maya", "product", "Maya 2024", "version", "2024", "osv", "Linux"]
        facts = scene_facts.facts(Cmds(self.scene(b'requires maya "2019";\n'), flat))
        self.assertEqual(facts, {"maya_version": "2024", "product": "Maya 2024", "from": "fileInfo"})

    def test_the_example_shot(self):
        facts = scene_facts.facts(Cmds(os.path.join(support.REPO, "examples", "project", "scenes", "shot010.ma")))
        self.assertEqual((facts["maya_version"], facts["product"]), ("2022", "Maya 2022"))


if __name__ == "__main__":
    unittest.main()
