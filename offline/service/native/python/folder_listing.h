// The disk view's folder listings (servicepaths::FolderListing) as the service's Python holds them:
// capsules made by list_folder or listing_of, asked through the functions below, the same answers
// the listing as a set of names would give.
#pragma once

#include "python/ref.h"

namespace servicepaths_python {

// The folder's listing as the system gives it, as os.listdir would read it: its names decode as
// os.listdir decodes them, and it fails as os.listdir fails (OSError with the folder's errno,
// ValueError for a folder with a NUL in it, TypeError for a value that is no path).
python::Ref listFolder(PyObject* folder);
// A listing of the given names (texts or byte strings).
python::Ref listingOf(PyObject* names);

// Whether names holds name: a listing answers for itself (as a set of its names would, 2.7's equal
// ASCII texts and byte strings included); any other container is asked as Python asks it.
bool holds(PyObject* names, PyObject* name);
// The listing's names that start with prefix (all of them for None), in sorted order.
python::Ref namesStarting(PyObject* listing, PyObject* prefix);
// The listing's names that may start with head ignoring letter case (a superset: each is still to
// be matched), in sorted order; None where the listing cannot narrow them down (head empty or not
// ASCII, names whose bytes do not sort as their values): every name may.
python::Ref namesFolding(PyObject* listing, PyObject* head);
// The listing's names whose lower() is name.lower(), in sorted order.
python::Ref matchingCase(PyObject* listing, PyObject* name);

}  // namespace servicepaths_python
