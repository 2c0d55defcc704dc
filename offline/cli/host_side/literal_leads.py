# -*- coding: utf-8 -*-
"""re.search of a signature's pattern in a long ASCII script, without stepping the regular
expression over every character.

Python's re tries a case-insensitive pattern at every position of the text: about 10 ns a
character for each pattern, 15 s for a 64 MB script and the scan's twenty patterns. Most
patterns begin with literal text (a word after a \\b): every match then starts where one of those
"leads" is written. In ASCII text a case-insensitive literal is found by str.find in the
lower-cased text, so only the places a lead is written are tried, in order, and the first that
matches is the match re.search returns. A pattern without leads, and any text holding a
non-ASCII character (where case folding reaches beyond ASCII: the Kelvin sign matches k), is
searched by re itself.
"""
import heapq
import re

try:  # 3.11 and later
    from re import _constants as _sre_constants
    from re import _parser as _sre_parse
except ImportError:
    import sre_constants as _sre_constants
    import sre_parse as _sre_parse

_AT = _sre_constants.AT
_LITERAL = _sre_constants.LITERAL
_SUBPATTERN = _sre_constants.SUBPATTERN
_BRANCH = _sre_constants.BRANCH
_REPEATS = (_sre_constants.MAX_REPEAT, _sre_constants.MIN_REPEAT)
_NON_ASCII = re.compile(u"[^\x00-\x7f]")

# A lead shorter than this is written too often to be worth finding; more leads than this and the
# pattern is left to re.
_SHORTEST_LEAD = 3
_MOST_LEADS = 64
# The text is lower-cased this much at a time, so that no second copy of a long script is held.
_WINDOW = 1 << 20
# Below this many characters (a small script node's line of MEL) re itself is quicker than
# finding the leads first.
_SHORT_TEXT = 64


def _leads(items):
    """The lower-case ASCII texts one of which every match of the items begins with; None where
    that cannot be told."""
    for index, (op, av) in enumerate(items):
        rest = list(items[index + 1:])
        if op == _AT:
            continue  # zero width: the match begins after it
        if op == _LITERAL:
            run = []
            for op_, av_ in items[index:]:
                if op_ != _LITERAL or av_ >= 0x80:
                    break
                run.append(chr(av_).lower())
            if not run:
                return None  # a non-ASCII letter: what it matches ignoring case is not told here
            following = _leads(list(items[index + len(run):]))
            run = "".join(run)
            if following is None or len(following) > _MOST_LEADS:
                return set([run])
            return set(run + lead for lead in following)
        if op == _SUBPATTERN:
            return _leads(list(av[-1]) + rest)
        if op == _BRANCH:
            found = set()
            for branch in av[1]:
                leads = _leads(list(branch) + rest)
                if leads is None:
                    return None
                found |= leads
            return found
        if op in _REPEATS:
            least, most, content = av
            # after a repeat that may come again, what follows its first round is not told
            inside = _leads(list(content) + rest) if most == 1 else _leads(list(content))
            if least >= 1:
                return inside
            without = _leads(rest)
            return None if inside is None or without is None else inside | without
        return None
    return None  # nothing but zero-width items: a match may begin anywhere


class LiteralSearch(object):
    """A compiled pattern whose search(text) is re.search's, found from the pattern's leads."""

    def __init__(self, pattern, flags, window=_WINDOW, short=_SHORT_TEXT):
        self.regex = re.compile(pattern, flags)
        leads = _leads(list(_sre_parse.parse(pattern, flags)))
        usable = leads and len(leads) <= _MOST_LEADS and min(len(lead) for lead in leads) >= _SHORTEST_LEAD
        self.leads = sorted(leads) if usable else None
        self._longest = max(len(lead) for lead in self.leads) if self.leads else 0
        self._window = window
        self._short = short

    def search(self, text):
        if self.leads is None or len(text) < self._short or not _ascii(text):
            return self.regex.search(text)
        longest = self._longest
        for start in range(0, len(text), self._window):
            end = min(start + self._window, len(text))
            # a lead that begins in this window may end in the next
            lowered = text[start:end + longest - 1].lower()
            places = []
            for lead in self.leads:
                at = lowered.find(lead)
                while 0 <= at < end - start:
                    places.append(start + at)
                    at = lowered.find(lead, at + 1)
            for at in _in_order(places):
                found = self.regex.match(text, at)
                if found:
                    return found
        return None


def _in_order(places):
    heapq.heapify(places)
    last = None
    while places:
        at = heapq.heappop(places)
        if at != last:
            yield at
        last = at


def _ascii(text):
    checks = getattr(text, "isascii", None)  # 3.7 and later: told without reading the text
    return checks() if checks is not None else _NON_ASCII.search(text) is None
