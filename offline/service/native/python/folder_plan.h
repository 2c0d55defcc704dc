// A folder plan of the service (folder_plans.FolderPlan) as C++ reads it: the places a name written
// in one folder is looked for, in the rules' order, each a listing to ask.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "python/ref.h"

namespace servicepaths_python {

class FolderPlan {
 public:
  explicit FolderPlan(PyObject* plan);

  // (the path where the name is, true), else (the path where it is reported missing, false). A
  // name found in one of the project's places is noted, under that place's key, in the plan's
  // findings for the log. Nothing where the plan cannot answer for a name not found as written
  // (a place that cannot be listed): the rules take it.
  std::optional<std::pair<python::Ref, bool>> locate(PyObject* name);

 private:
  struct Place {
    python::Ref names, prefix, key;
    python::Ref noted;  // the findings' list for the key, once asked for
  };

  // The plan's places, read when a name is first not found as written; false when it has none.
  bool readPlaces();

  python::Ref plan_;
  python::Ref asWritten_;  // empty when the folder as written is not a folder here
  python::Ref writtenPrefix_, missingPrefix_, found_;
  std::optional<bool> placesRead_;  // whether the places could be read, once asked
  std::vector<Place> places_;
};

}  // namespace servicepaths_python
