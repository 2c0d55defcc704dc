#!/usr/bin/env python3
"""Rules of the C++ sources that no compiler enforces.

- Reference counts are handled only by an owning handle (python/ref.h): no naked
  Py_INCREF/Py_DECREF/Py_XINCREF/Py_XDECREF/Py_CLEAR anywhere else.
- No PyDict_GetItem/PyDict_GetItemString: they hide errors.
- No PySys_WriteStdout: it cuts its text at 1,000 bytes.
- Decisions stay free of Python: the sources of the decisions library include no Python header.
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SOURCES = [os.path.join(ROOT, "src"), os.path.join(ROOT, "offline", "reader"), os.path.join(ROOT, "offline", "host", "graph")]

RULES = [
    (re.compile(r"\bPy_X?(INC|DEC)REF\b|\bPy_CLEAR\b"), "reference count handled outside the owning handle",
     lambda path: not path.endswith(os.path.join("python", "ref.h"))),
    (re.compile(r"\bPyDict_GetItem(String)?\b"), "PyDict_GetItem hides errors; use PyObject_GetItem",
     lambda path: True),
    (re.compile(r"\bPySys_WriteStdout\b"), "PySys_WriteStdout cuts long text", lambda path: True),
]


def decision_sources():
    """The files of the decisions library, read from src/CMakeLists.txt."""
    with open(os.path.join(ROOT, "src", "CMakeLists.txt")) as handle:
        text = handle.read()
    block = re.search(r"add_library\(vanalyzer_decisions STATIC(.*?)\)", text, re.S)
    return [os.path.join("src", name) for name in block.group(1).split()] if block else []


def main():
    problems = []
    for top in SOURCES:
        for folder, _, files in os.walk(top):
            for name in files:
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(folder, name)
                relative = os.path.relpath(path, ROOT)
                with open(path) as handle:
                    lines = handle.read().splitlines()
                for number, line in enumerate(lines, 1):
                    code = line.split("//")[0]
                    for pattern, why, applies in RULES:
                        if applies(relative) and pattern.search(code):
                            problems.append("%s:%d: %s" % (relative, number, why))
    for relative in decision_sources():
        for header in (relative, re.sub(r"\.cpp$", ".h", relative)):
            path = os.path.join(ROOT, header)
            if os.path.exists(path):
                with open(path) as handle:
                    if re.search(r'#include\s+["<](Python\.h|python/)', handle.read()):
                        problems.append("%s: a decision includes Python" % header)
    for problem in problems:
        print(problem)
    print("source rules: %s" % ("FAILED" if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
