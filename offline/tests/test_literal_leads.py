# -*- coding: utf-8 -*-
"""The script scan's search from a pattern's literal leads finds what re.search finds: the same
match, at the same place, or none, for every signature and for patterns built to trip it."""
from __future__ import print_function

import os
import random
import re
import sys
import unittest

import support

sys.path.insert(0, os.path.join(support.REPO, "offline", "cli", "host_side"))
from literal_leads import LiteralSearch  # noqa: E402
from script_signatures import FAMILIES  # noqa: E402

FLAGS = re.IGNORECASE | re.MULTILINE | re.UNICODE

# repeats, optional parts, branches, groups and anchors around literals; a lead that is not at the
# start of every match would make one of these miss a match
TRICKY = [r"(?:ab)*cde", r"(?:abc)?def", r"(?:abc)+x", r"x{2}yz", r"\Aabc", r"^abc", r"abc$", r"\bab\b\s*cd",
          r"(?:abc|xyz)(?:123|789)", r"foo(?=bar)", r"(?:fo|bar)o\w*", r"(?i)Kelvin", r"(a)bc\1",
          u"caf\u00e9s", r"abc|\d+"]
if sys.version_info >= (3, 6):
    TRICKY.append(r"(?-i:Exact)case")  # a group's own flags


def _signature_patterns():
    return [pattern for family in FAMILIES for signature in family["signatures"]
            for pattern in signature.get("body", ())]


def _texts(patterns, seed):
    """Texts made of the patterns' own words in mixed case, near misses, line breaks and spaces,
    with a few non-ASCII letters (the Kelvin sign and the long s fold to ASCII letters)."""
    chance = random.Random(seed)
    words = []
    for pattern in patterns:
        words.extend(word for word in re.findall(r"[A-Za-z_][A-Za-z0-9_.]{1,}", pattern))
    words += ["(", ")", ",", "'w'", "\n", " ", "  ", "\t", "=", "123", "789", "1", "bar", "ab", "abab"]
    texts = []
    for _ in range(60):
        parts = []
        for _ in range(chance.randint(1, 40)):
            word = chance.choice(words)
            if chance.random() < 0.3:
                word = word.upper() if chance.random() < 0.5 else word.capitalize()
            if chance.random() < 0.1:
                word = word[:-1] or word  # a near miss
            parts.append(word)
            if chance.random() < 0.5:
                parts.append(chance.choice([" ", "", "\n", "x", "."]))
        texts.append("".join(parts))
    texts += [u"\u212aelvin", u"import \u017fubprocess", u"subprocess \u00e9", "", "ABC", "abcabc\nabc"]
    return texts


def _same(found, expected):
    return (found is None and expected is None) or (
        found is not None and expected is not None and found.span() == expected.span() and
        found.groups() == expected.groups())


class LiteralSearchTest(unittest.TestCase):
    def test_every_pattern_finds_what_re_finds(self):
        patterns = _signature_patterns() + TRICKY
        for seed in range(5):
            for text in _texts(patterns, seed):
                for pattern in patterns:
                    # a small window puts leads across window edges; short=0 takes even the
                    # shortest texts through the leads
                    for window, short in ((7, 0), (1 << 20, 0), (1 << 20, 64)):
                        found = LiteralSearch(pattern, FLAGS, window, short).search(text)
                        expected = re.compile(pattern, FLAGS).search(text)
                        self.assertTrue(_same(found, expected), (pattern, text, window, short, found, expected))

    def test_the_signatures_are_searched_from_their_leads(self):
        # only the patterns with no literal start, or a non-ASCII one, are left to re
        left = [pattern for pattern in _signature_patterns() if LiteralSearch(pattern, FLAGS).leads is None]
        self.assertEqual(left, [u"贼健康", r"\A\s*//\s*Maya Mel UI Configuration File"])
        search = LiteralSearch(r"\bimport\s+vaccine\b", FLAGS)
        self.assertEqual(search.leads, ["import"])
        text = "x = 1\n" * 100000 + "IMPORT  Vaccine\n"
        self.assertEqual(search.search(text).span(), (600000, 600015))
        self.assertIsNone(search.search("reimport vaccine"))


if __name__ == "__main__":
    unittest.main()
