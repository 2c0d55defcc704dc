#!/usr/bin/env python3
"""Checks that stable-ABI binaries import nothing newer than Python 3.7 and export only their entry.

Usage: check_stable_abi.py BINARY...
Every Py*/_Py* symbol that a binary leaves undefined must be listed in the Stable ABI table
(stable-abi-symbols.tsv beside this script) with a version of 3.7 or lower; the only symbol it
defines for the dynamic linker is PyInit_<module>.
"""
import os
import re
import subprocess
import sys

FLOOR = (3, 7)
SYMBOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "stable-abi-symbols.tsv")


def version(text):
    return tuple(int(part) for part in text.split("."))


def load_table(path):
    table = {}
    with open(path) as handle:
        for line in handle:
            if line.startswith("#") or not line.strip():
                continue
            fields = line.rstrip("\n").split("\t")
            if fields[0] == "symbol":
                continue
            table[fields[0]] = version(fields[2])
    return table


def dynamic_symbols(binary, flag):
    output = subprocess.run(["nm", "-D", flag, binary], check=True, stdout=subprocess.PIPE,
                            universal_newlines=True).stdout
    return [line.split()[-1].split("@")[0] for line in output.splitlines() if line.strip()]


def check(binary, table):
    problems = []
    for symbol in dynamic_symbols(binary, "--undefined-only"):
        if not re.match(r"_?Py", symbol):
            continue
        added = table.get(symbol)
        if added is None:
            problems.append("%s imports %s, which is not in the Stable ABI" % (binary, symbol))
        elif added > FLOOR:
            problems.append("%s imports %s, added in %s" % (binary, symbol, ".".join(map(str, added))))
    module = os.path.basename(binary).split(".")[0]
    exported = [s for s in dynamic_symbols(binary, "--defined-only") if s not in ("_init", "_fini")]
    if exported != ["PyInit_" + module]:
        problems.append("%s exports %s instead of only PyInit_%s" % (binary, exported, module))
    return problems


def main(arguments):
    if not arguments or arguments[0].startswith("-"):
        print(__doc__)
        return 2
    table = load_table(SYMBOLS)
    problems = []
    for binary in arguments:
        problems.extend(check(binary, table))
    for problem in problems:
        print(problem)
    print("stable ABI check: %d binaries, %s" % (len(arguments), "FAILED" if problems else "ok"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
