# -*- coding: utf-8 -*-
"""The host interpreter's memory allocator, set through its environment as a farm node's launcher
sets Maya's.

A big scene's analysis builds a few hundred thousand small objects and a few large buffers (the
scene's records, the listings, the result's JSON) and touches every page of them once. Where the
first touch of a page is dear (this machine's virtual machines take about 10 µs a 4 KiB page, so
100 MB cost 0.25 s), the host's time goes to page faults as much as to its own work. The C
library's allocator can back its heap with transparent huge pages (one fault a 2 MiB page where
the kernel allows them on request) and keep what is freed for the next allocation instead of
giving it back and faulting it in again; the interpreter's own small-object allocator maps its
arenas itself, beyond that reach, so the interpreter is asked to take its objects from the C
library too (Python 3.6 and later: 2.7 knows no PYTHONMALLOC and keeps its own). A run's peak memory
is what it is either way: memory kept is memory the run would fault in again.

A setting the caller's environment makes already is kept.
"""

_KEEP_FREED = str(256 << 20)  # bytes: larger blocks are still mapped apart, and given back
_TUNABLES = (
    ("glibc.malloc.hugetlb", "1"),
    ("glibc.malloc.trim_threshold", _KEEP_FREED),
    ("glibc.malloc.mmap_threshold", _KEEP_FREED),
)


def host_allocator(base):
    """The variables that set the host's allocator, given the environment the host inherits."""
    settings = {}
    if "PYTHONMALLOC" not in base:
        settings["PYTHONMALLOC"] = "malloc"
    given = [entry for entry in base.get("GLIBC_TUNABLES", "").split(":") if entry]
    named = set(entry.split("=", 1)[0] for entry in given)
    added = ["%s=%s" % (name, value) for name, value in _TUNABLES if name not in named]
    if added:
        settings["GLIBC_TUNABLES"] = ":".join(given + added)
    return settings
