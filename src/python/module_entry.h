// What a module's initialisation entry needs on either interpreter line.
#pragma once

#include "python/caught_error.h"

// The entry is the one symbol a module binary exports.
#if defined(_WIN32)
#define PYTHON_MODULE_EXPORT
#else
#define PYTHON_MODULE_EXPORT __attribute__((visibility("default")))
#endif

namespace python {

// The body of an initialisation entry: `load` builds the module. 3.x takes the module as the
// entry's result; 2.7 finds it in sys.modules and reads a failure from the pending exception.
#ifdef VANALYZER_PYTHON2
template <class Load>
void initialiseModule(Load&& load) noexcept {
  entry([&] {
    load();
    return Ref();
  });
}
#else
template <class Load>
PyObject* initialiseModule(Load&& load) noexcept {
  return entry([&] { return load(); });
}
#endif

}  // namespace python

// The module's one exported entry, named as each line's import looks for it: init<name> on 2.7,
// PyInit_<name> on 3.x. `load` returns the new module.
#ifdef VANALYZER_PYTHON2
#define PYTHON_MODULE_ENTRY(name, load)              \
  extern "C" PYTHON_MODULE_EXPORT void init##name(void); \
  PyMODINIT_FUNC init##name(void) { python::initialiseModule(load); }
#else
#define PYTHON_MODULE_ENTRY(name, load)                   \
  extern "C" PYTHON_MODULE_EXPORT PyObject* PyInit_##name(void); \
  PyMODINIT_FUNC PyInit_##name(void) { return python::initialiseModule(load); }
#endif
