// Whether a folder listing the service's disk view has read holds a path's name: the question the
// analyzer's accounting and the gatherers ask once per file, answered without a Python frame.
#pragma once

#include "python/python.h"

namespace servicepaths_python {

// True when path (exact Unicode text or an exact byte string) is a POSIX path "<folder>/<name>"
// whose folder (the text before its last '/', which is not itself after a '/') is a key of the
// listings of its kind (texts or byteFolders, the view's folder -> listing dicts) and whose name,
// neither "." nor "..", is in that listing's `names`. False means only "not known from the
// listings": the view decides such a path the slow way.
bool listedHolds(PyObject* path, PyObject* texts, PyObject* byteFolders);

}  // namespace servicepaths_python
