"""Where the tests find the built module, the stand-ins, the fixtures and the sample corpus."""
from __future__ import print_function

import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
FIXTURES = os.path.join(REPO, "offline", "fixtures")
BINARY_DIR = os.environ.get("VANALYZER_BINARY_DIR") or os.path.join(REPO, "build", "release")
CORPUS = os.environ.get("VANALYZER_CORPUS") or os.path.join(REPO, "..", "shared", "corpus")
MODULE_DIR = os.path.join(BINARY_DIR, "py27" if sys.version_info[0] == 2 else "abi3")

for entry in (os.path.join(REPO, "offline", "host"), MODULE_DIR):
    if entry not in sys.path:
        sys.path.insert(0, entry)


def fixture(name):
    return os.path.join(FIXTURES, name)


def require_corpus():
    """The real-scene corpus folder; its absence skips the test, or fails it under CI (CI=true)."""
    if not os.path.isdir(CORPUS):
        message = "real-scene corpus not found at %s (set VANALYZER_CORPUS)" % CORPUS
        if os.environ.get("CI") == "true":
            raise AssertionError(message)
        raise unittest.SkipTest(message)
    return CORPUS


def corpus_scenes():
    corpus = require_corpus()
    return sorted(os.path.join(corpus, f) for f in os.listdir(corpus) if f.endswith(".ma"))


def text(utf8_bytes):
    """A literal as the module gives texts: str on 3.x, UTF-8 native str on 2.7."""
    decoded = utf8_bytes.decode("utf-8")
    return decoded.encode("utf-8") if sys.version_info[0] == 2 else decoded


def write_script_scene(path, name, before, codeset="UTF-8"):
    """A scene of one script node `name` whose "before" text is the bytes `before`: Maya ASCII (its
    //Codeset: `codeset`) or, for a path ending in .mb, Maya Binary written by bench/mb_writer.py
    (which names no code page)."""
    if path.endswith(".mb"):
        bench = os.path.join(REPO, "bench")
        if bench not in sys.path:
            sys.path.insert(0, bench)
        import mb_writer
        form = mb_writer.Form(wide=True)
        chunks = [form.head("2024"), form.node("SCRP", name, chunks=[form.value("STR ", "b", before + b"\0")])]
        data = form.scene(chunks)
    else:
        quoted = before.replace(b"\\", b"\\\\").replace(b'"', b'\\"').replace(b"\n", b"\\n")
        data = (b'//Maya ASCII 2024 scene\n//Codeset: ' + codeset.encode("ascii") + b'\ncreateNode script -n "' +
                name.encode("ascii") + b'";\n\tsetAttr ".b" -type "string" "' + quoted + b'";\n// End of scene\n')
    with open(path, "wb") as handle:
        handle.write(data)
