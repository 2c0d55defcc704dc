// The one place that includes the interpreter's headers.
#pragma once

#define PY_SSIZE_T_CLEAN
#include <Python.h>

#if PY_MAJOR_VERSION < 3
#define VANALYZER_PYTHON2 1
#endif
