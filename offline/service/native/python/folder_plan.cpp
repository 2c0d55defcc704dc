#include "folder_plan.h"

#include "folder_listing.h"
#include "python/objects.h"

namespace servicepaths_python {

using python::Ref;

FolderPlan::FolderPlan(PyObject* plan)
    : plan_(Ref::borrow(plan)),
      writtenPrefix_(python::attribute(plan, "written_prefix")),
      missingPrefix_(python::attribute(plan, "missing_prefix")),
      found_(python::attribute(plan, "found")) {
  if (!PyDict_Check(found_.get())) {
    PyErr_SetString(PyExc_TypeError, "a folder plan's findings must be a dict");
    throw python::Error();
  }
  Ref asWritten = python::attribute(plan, "as_written");
  if (asWritten.get() != Py_None) asWritten_ = asWritten;
}

bool FolderPlan::readPlaces() {
  if (!placesRead_) {
    const Ref places = python::attribute(plan_.get(), "places");
    if (places.get() != Py_None) {
      python::forEach(places.get(), [&](const Ref& place) {
        places_.push_back(Place{python::itemAt(place.get(), 0), python::itemAt(place.get(), 1),
                                python::itemAt(place.get(), 2), Ref()});
      });
    }
    placesRead_ = places.get() != Py_None;
  }
  return *placesRead_;
}

std::optional<std::pair<Ref, bool>> FolderPlan::locate(PyObject* name) {
  if (asWritten_ && holds(asWritten_.get(), name)) return std::pair{python::concatenate(writtenPrefix_.get(), name), true};
  if (!readPlaces()) return std::nullopt;
  for (Place& place : places_) {
    if (!holds(place.names.get(), name)) continue;
    if (!place.noted) {
      // found.get(key), else a new list under the key; the rules add to the same lists
      PyObject* noted = PyDict_GetItem(found_.get(), place.key.get());
      if (noted != nullptr) {
        place.noted = Ref::borrow(noted);
      } else {
        place.noted = python::newList();
        python::requireStatus(PyObject_SetItem(found_.get(), place.key.get(), place.noted.get()));
      }
    }
    python::append(place.noted.get(), name);
    return std::pair{python::concatenate(place.prefix.get(), name), true};
  }
  return std::pair{python::concatenate(missingPrefix_.get(), name), false};
}

}  // namespace servicepaths_python
