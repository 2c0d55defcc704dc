#include "listed_name.h"

#include "folder_listing.h"
#include "python/objects.h"

namespace servicepaths_python {

using python::Ref;

namespace {

// The positions of a path's last '/' and of the character before it, read through one accessor for
// every kind of text.
template <class CharAt>
bool splitsPlainly(Py_ssize_t length, Py_ssize_t slash, CharAt charAt) {
  if (slash <= 0 || slash >= length - 1 || charAt(slash - 1) == '/') return false;
  const Py_ssize_t nameLength = length - slash - 1;
  const bool dots = charAt(slash + 1) == '.' && (nameLength == 1 || (nameLength == 2 && charAt(slash + 2) == '.'));
  return !dots;
}

// The last '/' of path and whether it splits it plainly; -1 where it does not.
Py_ssize_t plainSlash(PyObject* path) {
  if (PyBytes_CheckExact(path)) {
    const char* bytes = PyBytes_AsString(path);
    const Py_ssize_t length = PyBytes_Size(path);
    Py_ssize_t slash = length - 1;
    while (slash >= 0 && bytes[slash] != '/') --slash;
    return splitsPlainly(length, slash, [&](Py_ssize_t at) { return static_cast<unsigned long>(bytes[at]); })
               ? slash
               : -1;
  }
  if (!PyUnicode_CheckExact(path)) return -1;
#ifdef VANALYZER_PYTHON2
  const Py_UNICODE* characters = PyUnicode_AS_UNICODE(path);
  const Py_ssize_t length = PyUnicode_GET_SIZE(path);
  Py_ssize_t slash = length - 1;
  while (slash >= 0 && characters[slash] != '/') --slash;
  const auto charAt = [&](Py_ssize_t at) { return static_cast<unsigned long>(characters[at]); };
#else
  const Py_ssize_t length = PyUnicode_GetLength(path);
  const Py_ssize_t slash = PyUnicode_FindChar(path, '/', 0, length, -1);
  if (slash < -1) throw python::Error();
  const auto charAt = [&](Py_ssize_t at) { return static_cast<unsigned long>(PyUnicode_ReadChar(path, at)); };
#endif
  return splitsPlainly(length, slash, charAt) ? slash : -1;
}

Ref cut(PyObject* path, Py_ssize_t start, Py_ssize_t end) {
#ifndef VANALYZER_PYTHON2
  if (PyUnicode_CheckExact(path)) return python::require(PyUnicode_Substring(path, start, end));
#endif
  return python::require(PySequence_GetSlice(path, start, end));
}

}  // namespace

bool listedHolds(PyObject* path, PyObject* texts, PyObject* byteFolders) {
  const Py_ssize_t slash = plainSlash(path);
  if (slash < 0) return false;
  PyObject* folders = PyUnicode_CheckExact(path) ? texts : byteFolders;
  if (!PyDict_Check(folders)) {
    PyErr_SetString(PyExc_TypeError, "listed_holds takes the listings as dicts");
    throw python::Error();
  }
  const Ref folder = cut(path, 0, slash);
  PyObject* entry = PyDict_GetItem(folders, folder.get());  // borrowed; a text's hash cannot fail
  if (entry == nullptr) return false;
  const Ref names = python::attribute(entry, "names");
  const Ref name = cut(path, slash + 1, PY_SSIZE_T_MAX);
  return holds(names.get(), name.get());
}

}  // namespace servicepaths_python
