# -*- coding: utf-8 -*-
"""servicepaths' folder listings: the names os.listdir gives, answered as the set of them and its
sorted list answered before the listings were held in C++, on both interpreter lines."""
from __future__ import print_function

import errno
import re
import os
import shutil
import sys
import tempfile
import unittest
import warnings

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import support  # noqa: E402,F401  (puts the built modules on the path)
import servicepaths  # noqa: E402

PY2 = sys.version_info[0] == 2
NAMES = [u"wood.png", u"Wood.png", u"WOOD.PNG", u"stone.png", u".hidden", u"...", u"skin.1001.exr",
         u"skin.1002.exr", u"skin.1001.exr.bak", u"\u00c9t\u00e9.png", u"\u00e9t\u00e9.png", u"\u6728.png",
         u"\U0001f600.png", u"\ufb01le.png", u"Stra\u00dfe.png", u"sub", u"SKIN.1003.EXR", u"Skin.1004.exr",
         u"\u017fkin.1005.exr", u"\u212aey.png", u"key.png", u"sk\u00efn.png"]
# a name that is not UTF-8: 3.x spells it with a surrogate, 2.7 keeps it as bytes in a Unicode listing
UNDECODABLE = b"raw\xff.png"


class Folder(object):
    def __init__(self, test, names, undecodable=False):
        self.path = tempfile.mkdtemp(prefix=u"listing-test-")
        test.addCleanup(shutil.rmtree, self.path.encode("utf-8"))  # 2.7 cannot join text to a raw name
        for name in names:
            target = os.path.join(self.path, name)
            os.mkdir(target) if name == u"sub" else open(target, "w").close()
        if undecodable:
            open(os.path.join(self.path.encode("utf-8"), UNDECODABLE), "w").close()


def outcome(answer):
    """What a call answered, or the kind of error it raised."""
    try:
        return answer()
    except Exception as error:  # noqa: BLE001 (the kind is what is compared)
        return type(error)


def spelled(name):
    return name if isinstance(name, bytes) else name.encode("utf-8", "strict" if PY2 else "surrogateescape")


def matching_case(names, name):
    """The names whose lower() is name.lower(), sorted: what the view answered before, which sorted
    the whole listing first (on 2.7 it failed there when the listing held a name that does not
    decode, whatever the name asked)."""
    with warnings.catch_warnings():
        warnings.simplefilter("ignore", UnicodeWarning)  # 2.7 compares raw bytes with text
        return sorted(each for each in names if each.lower() == name.lower())


class FolderListingTest(unittest.TestCase):
    def probes(self, names):
        probes = list(names) + [name.upper() for name in names] + [spelled(name) for name in names]
        probes += [u"", u"gone.png", u"wood", u"wood.png ", b"wood.png", u"\ud800", None, 7, (u"wood.png",)]
        return probes

    def assert_as_listdir(self, folder):
        listed = os.listdir(folder)
        names = set(listed)
        listing = servicepaths.list_folder(folder)
        self.assertEqual(outcome(lambda: servicepaths.listing_names(listing)), outcome(lambda: sorted(names)))
        for probe in self.probes(listed):
            self.assertEqual(servicepaths.listing_holds(listing, probe), probe in names, repr(probe))
        for prefix in [u"skin.", u"skin.1001", u"s", u"W", u"\u00c9", u"\U0001f600", u"\udcff", u"\u00c9t\udcc3", u"raw", u"zz"]:
            if isinstance(folder, bytes):
                prefix = b"\xff" if prefix == u"\udcff" else spelled(prefix)
            self.assertEqual(outcome(lambda: servicepaths.listing_names(listing, prefix)),
                             outcome(lambda: sorted(name for name in names if name.startswith(prefix))), repr(prefix))
        for name in listed + [u"WOOD.png", u"stra\u00dfe.PNG", u"\u00e9T\u00c9.png", u"gone.png"]:
            if isinstance(folder, bytes):
                name = spelled(name)
            self.assertEqual(outcome(lambda: servicepaths.listing_matching_case(listing, name)),
                             outcome(lambda: matching_case(names, name)), repr(name))
        for head in [u"skin.", u"SKIN.100", u"s", u"key", u"K", u"sk", u"zz", u"", u"\u00e9t"]:
            if isinstance(folder, bytes):
                head = spelled(head)
            narrowed = servicepaths.listing_names_folding(listing, head)
            if narrowed is None:
                continue
            # a superset of what the pattern's own expression takes, in sorted order
            taken = set(name for name in names if re.match(re.escape(head), name, re.IGNORECASE))
            self.assertTrue(taken <= set(narrowed), (head, taken - set(narrowed)))
            self.assertEqual(narrowed, sorted(narrowed), repr(head))
        return listing

    def test_a_pattern_ignoring_case_tries_only_the_names_that_may_start_as_it_does(self):
        # a name past ASCII where the head is may still match it ignoring case (3.x takes U+017F
        # for "s"): the pattern's expression decides. 2.7 sorts such names itself: no narrowing.
        unfoldable = [] if PY2 else [u"\u017food.png"]
        listing = servicepaths.listing_of([u"skin.%d.exr" % tile for tile in range(1001, 1100)] +
                                          [u"Wood.png", u"WOOD.1001.png", u"wood.1002.PNG", u"wool"] + unfoldable)
        self.assertEqual(servicepaths.listing_names_folding(listing, u"wOOD."),
                         [u"WOOD.1001.png", u"Wood.png", u"wood.1002.PNG"] + unfoldable)
        self.assertEqual(servicepaths.listing_names_folding(listing, u"SOO"), unfoldable)
        self.assertEqual(len(servicepaths.listing_names_folding(listing, u"Skin.10")), 99 + len(unfoldable))
        for head in (u"", u"\u00e9"):
            self.assertIsNone(servicepaths.listing_names_folding(listing, head))

    def test_a_listing_answers_as_the_set_of_the_names_os_listdir_gives(self):
        for undecodable in (False, True):
            folder = Folder(self, NAMES, undecodable).path
            self.assert_as_listdir(folder)
            self.assert_as_listdir(folder.encode("utf-8"))
        self.assert_as_listdir(Folder(self, [u"a.png", u"B.png", u"b.png"]).path)  # plain ASCII

    def test_a_listing_fails_as_os_listdir_fails(self):
        folder = Folder(self, [u"a.png"]).path
        for path, number in ((os.path.join(folder, u"gone"), errno.ENOENT),
                             (os.path.join(folder, u"a.png"), errno.ENOTDIR), (u"", errno.ENOENT)):
            with self.assertRaises(OSError) as raised:
                servicepaths.list_folder(path)
            self.assertEqual((raised.exception.errno, raised.exception.filename), (number, path))
        with self.assertRaises(ValueError):
            servicepaths.list_folder(folder + u"\0")
        for value in (None, 3, [folder]):
            with self.assertRaises(TypeError):
                servicepaths.list_folder(value)
        with self.assertRaises(TypeError):
            servicepaths.listing_names(set([u"a.png"]))

    def test_a_listing_of_given_names_and_any_container(self):
        listing = servicepaths.listing_of([u"b.png", b"c.png", u"A.png"])
        self.assertEqual(servicepaths.listing_holds(listing, u"b.png"), True)
        self.assertEqual(servicepaths.listing_holds(listing, b"b.png"), PY2)  # 2.7: equal ASCII text and bytes
        self.assertEqual(servicepaths.listing_holds(set([u"b.png"]), u"b.png"), True)
        self.assertEqual(servicepaths.listing_matching_case(listing, u"a.PNG"), [u"A.png"])
        self.assertEqual(servicepaths.listing_names(servicepaths.listing_of(())), [])
        with self.assertRaises(TypeError):
            servicepaths.listing_of([None])


if __name__ == "__main__":
    unittest.main()
