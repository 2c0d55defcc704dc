"""The host's allocator settings: added to what the caller's environment sets, never in its place."""
import pytest

from cli import host_allocator

OURS = ("glibc.malloc.hugetlb=1:glibc.malloc.trim_threshold=268435456:"
        "glibc.malloc.mmap_threshold=268435456")


@pytest.mark.parametrize("base, expected", [
    ({}, {"PYTHONMALLOC": "malloc", "GLIBC_TUNABLES": OURS}),
    # the caller's own choices stand, ours fill in the rest
    ({"PYTHONMALLOC": "pymalloc_debug"}, {"GLIBC_TUNABLES": OURS}),
    ({"GLIBC_TUNABLES": "glibc.malloc.hugetlb=0"},
     {"PYTHONMALLOC": "malloc",
      "GLIBC_TUNABLES": "glibc.malloc.hugetlb=0:glibc.malloc.trim_threshold=268435456:"
                        "glibc.malloc.mmap_threshold=268435456"}),
    ({"GLIBC_TUNABLES": "glibc.rtld.optional_static_tls=4096:"},
     {"PYTHONMALLOC": "malloc", "GLIBC_TUNABLES": "glibc.rtld.optional_static_tls=4096:" + OURS}),
    ({"PYTHONMALLOC": "malloc", "GLIBC_TUNABLES": OURS}, {}),
])
def test_settings_added_to_the_callers(base, expected):
    assert host_allocator.host_allocator(base) == expected
