"""The mayascene module over the real-scene corpus: every scene loads whole."""
from __future__ import print_function

import re
import unittest

import support
import mayascene


class CorpusTest(unittest.TestCase):
    def test_every_corpus_scene_loads(self):
        for path in support.corpus_scenes():
            scene = mayascene.load(path)
            with open(path, "rb") as handle:
                data = handle.read()
            created = len(re.findall(br"^createNode ", data, re.M))
            explicit = [n for n in scene["nodes"] if not n["implicit"]]
            self.assertEqual(len(explicit), created - self._shared_repeats(data), path)
            self.assertEqual(len(scene["connections"]), len(re.findall(br"^connectAttr ", data, re.M)), path)

    @staticmethod
    def _shared_repeats(data):
        # A second `createNode -s` of one name edits the first node.
        names = re.findall(br'^createNode \S+ (?:-s|-shared) (?:-n|-name) "([^"]+)"', data, re.M)
        return len(names) - len(set(names))


if __name__ == "__main__":
    unittest.main()
