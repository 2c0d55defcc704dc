// The file-system questions of the accounting for path values, answered in C++ (no interpreter
// call per file). Failures surface as the interpreter's own errors, as os.stat would raise them,
// so that the log lines show the same representation.
#pragma once

#include <cstddef>
#include <cstdint>

#include "analysis/size_prefetch.h"
#include "python/ref.h"

namespace vanalyzer::analysis {

// os.path.getsize: OSError (with the error number) when the path cannot be queried. The answer is
// taken from entry index of a prefetch when that entry sized this very path.
std::int64_t sizeOf(PyObject* path, SizePrefetch* prefetch = nullptr, std::size_t index = 0);

// os.path.exists.
bool exists(PyObject* path);

// os.path.realpath of an existing path, in the path's own kind (Unicode or bytes).
python::Ref realPathOf(PyObject* path);

}  // namespace vanalyzer::analysis
