// servicepaths: the render service's path steps that a big scene takes once per path, in C++
// behind the service's own Python (vfile's gatherers and path rules).
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "folder_listing.h"
#include "folder_plan.h"
#include "listed_name.h"
#include "path_text.h"
#include "python/compat.h"
#include "python/module_entry.h"
#include "python/objects.h"
#include "servicepaths/planned_path.h"

namespace {

using python::Ref;
using servicepaths_python::FolderPlan;
using servicepaths_python::PathBytes;

PyObject* folderAndName(PyObject*, PyObject* args) noexcept {
  return python::entry([&]() -> Ref {
    PyObject* path = nullptr;
    if (!PyArg_ParseTuple(args, "O:folder_and_name", &path)) throw python::Error();
    const std::optional<PathBytes> text = PathBytes::of(path);
    const std::optional<std::size_t> end = text ? servicepaths::plannedFolderEnd(text->bytes()) : std::nullopt;
    if (!end) return Ref::borrow(Py_None);
    return python::tupleOf({text->cut(0, *end).get(), text->cut(*end, text->bytes().size()).get()});
  });
}

PyObject* locate(PyObject*, PyObject* args) noexcept {
  return python::entry([&]() -> Ref {
    PyObject *plan = nullptr, *name = nullptr;
    if (!PyArg_ParseTuple(args, "OO:locate", &plan, &name)) throw python::Error();
    const auto located = FolderPlan(plan).locate(name);
    if (!located) return Ref::borrow(Py_None);
    return python::tupleOf({located->first.get(), python::boolean(located->second).get()});
  });
}

void addTo(PyObject* set, const Ref& item) {
  if (!PyAnySet_Check(set)) {
    PyErr_SetString(PyExc_TypeError, "place_names adds to sets");
    throw python::Error();
  }
  python::requireStatus(PySet_Add(set, item.get()));
}

// The plans of the folders one call meets, each asked of plan_of once: a folder's text and its kind
// (Unicode or bytes) -> the plan, or nothing where its names go through the rules.
class Plans {
 public:
  explicit Plans(PyObject* planOf) : planOf_(planOf) {}

  FolderPlan* of(const PathBytes& path, std::size_t folderEnd) {
    const std::string_view folder = path.bytes().substr(0, folderEnd);
    const char kind = path.unicode() ? 'u' : 'b';
    // paths come folder by folder: most ask for the plan the path before them asked for
    if (last_ != nullptr && last_->first.size() == folder.size() + 1 && last_->first.back() == kind &&
        last_->first.compare(0, folder.size(), folder) == 0)
      return planIn(*last_);
    std::string key(folder);
    key.push_back(kind);
    auto known = plans_.find(key);
    if (known == plans_.end()) {
      const Ref plan = python::callWithOne(planOf_, path.cut(0, folderEnd).get());
      std::optional<FolderPlan> read;
      if (plan.get() != Py_None) read.emplace(plan.get());
      known = plans_.emplace(std::move(key), std::move(read)).first;
    }
    last_ = &*known;  // an element stays where it is when the map grows
    return planIn(*last_);
  }

 private:
  using Known = std::unordered_map<std::string, std::optional<FolderPlan>>;

  static FolderPlan* planIn(Known::value_type& known) { return known.second ? &*known.second : nullptr; }

  PyObject* planOf_;
  Known plans_;
  Known::value_type* last_ = nullptr;
};

PyObject* placeNames(PyObject*, PyObject* args) noexcept {
  return python::entry([&]() -> Ref {
    PyObject *items = nullptr, *planOf = nullptr, *other = nullptr, *exists = nullptr, *files = nullptr,
             *missing = nullptr;
    if (!PyArg_ParseTuple(args, "OOOOOO:place_names", &items, &planOf, &other, &exists, &files, &missing))
      throw python::Error();
    Plans plans(planOf);
    python::forEach(items, [&](const Ref& item) {
      const std::optional<PathBytes> text = PathBytes::of(item.get());
      const std::optional<std::size_t> end = text ? servicepaths::plannedFolderEnd(text->bytes()) : std::nullopt;
      FolderPlan* plan = end ? plans.of(*text, *end) : nullptr;
      if (plan == nullptr) {
        python::callWithOne(other, item.get());
        return;
      }
      const auto located = plan->locate(text->cut(*end, text->bytes().size()).get());
      if (!located) {
        python::callWithOne(other, item.get());
        return;
      }
      const auto& [path, found] = *located;
      addTo(found || python::isTrue(python::callWithOne(exists, path.get()).get()) ? files : missing, path);
    });
    return Ref::borrow(Py_None);
  });
}

PyObject* listedHolds(PyObject*, PyObject* args) noexcept {
  return python::entry([&]() -> Ref {
    PyObject *path = nullptr, *texts = nullptr, *byteFolders = nullptr;
    if (!PyArg_UnpackTuple(args, "listed_holds", 3, 3, &path, &texts, &byteFolders)) throw python::Error();
    return python::boolean(servicepaths_python::listedHolds(path, texts, byteFolders));
  });
}

PyObject* listFolder(PyObject*, PyObject* folder) noexcept {
  return python::entry([&] { return servicepaths_python::listFolder(folder); });
}

PyObject* listingOf(PyObject*, PyObject* names) noexcept {
  return python::entry([&] { return servicepaths_python::listingOf(names); });
}

PyObject* listingHolds(PyObject*, PyObject* args) noexcept {
  return python::entry([&]() -> Ref {
    PyObject *listing = nullptr, *name = nullptr;
    if (!PyArg_UnpackTuple(args, "listing_holds", 2, 2, &listing, &name)) throw python::Error();
    return python::boolean(servicepaths_python::holds(listing, name));
  });
}

PyObject* listingNames(PyObject*, PyObject* args) noexcept {
  return python::entry([&]() -> Ref {
    PyObject *listing = nullptr, *prefix = Py_None;
    if (!PyArg_UnpackTuple(args, "listing_names", 1, 2, &listing, &prefix)) throw python::Error();
    return servicepaths_python::namesStarting(listing, prefix);
  });
}

PyObject* listingNamesFolding(PyObject*, PyObject* args) noexcept {
  return python::entry([&]() -> Ref {
    PyObject *listing = nullptr, *head = nullptr;
    if (!PyArg_UnpackTuple(args, "listing_names_folding", 2, 2, &listing, &head)) throw python::Error();
    return servicepaths_python::namesFolding(listing, head);
  });
}

PyObject* listingMatchingCase(PyObject*, PyObject* args) noexcept {
  return python::entry([&]() -> Ref {
    PyObject *listing = nullptr, *name = nullptr;
    if (!PyArg_UnpackTuple(args, "listing_matching_case", 2, 2, &listing, &name)) throw python::Error();
    return servicepaths_python::matchingCase(listing, name);
  });
}

PyMethodDef moduleFunctions[] = {
    {"folder_and_name", folderAndName, METH_VARARGS,
     "folder_and_name(path) -> (the folder as written with its trailing '/', the name) of a path that a folder "
     "plan can answer; None for one the rules must take alone."},
    {"locate", locate, METH_VARARGS,
     "locate(plan, name) -> (path, found): where a folder plan finds the name, else where it is reported missing; "
     "None where the plan cannot answer for it (the rules must take it)."},
    {"place_names", placeNames, METH_VARARGS,
     "place_names(items, plan_of, other, exists, files, missing): each item that is a path a plan can answer is "
     "located with plan_of(its folder) and added to files, or to missing unless exists(path); every other item, "
     "and each whose plan is None or cannot answer for it, is handed to other(item), in the items' order."},
    {"listed_holds", listedHolds, METH_VARARGS,
     "listed_holds(path, texts, byte_folders) -> True when the path, a POSIX '<folder>/<name>', has its folder "
     "among the listings of its kind (folder -> listing with `names`) and its name in that listing; False when "
     "the listings do not tell."},
    {"list_folder", listFolder, METH_O,
     "list_folder(folder) -> the folder's listing, read as os.listdir reads it and failing as it fails; its "
     "names are held in C++ and asked through the listing_ functions."},
    {"listing_of", listingOf, METH_O, "listing_of(names) -> a listing of the given names (texts or bytes)."},
    {"listing_holds", listingHolds, METH_VARARGS,
     "listing_holds(names, name) -> whether the listing (or any container) holds the name, as a set of the "
     "listing's names would answer."},
    {"listing_names", listingNames, METH_VARARGS,
     "listing_names(listing, prefix=None) -> the listing's names that start with prefix (all for None), sorted."},
    {"listing_names_folding", listingNamesFolding, METH_VARARGS,
     "listing_names_folding(listing, head) -> the listing's names that may start with head ignoring letter case "
     "(each still to be matched), sorted; None where every name may."},
    {"listing_matching_case", listingMatchingCase, METH_VARARGS,
     "listing_matching_case(listing, name) -> the listing's names whose lower() is name.lower(), sorted."},
    {nullptr, nullptr, 0, nullptr}};

Ref loadModule() {
  return python::createModule("servicepaths", moduleFunctions,
                              "The service's path steps taken once per path of a scene, in C++.");
}

}  // namespace

PYTHON_MODULE_ENTRY(servicepaths, loadModule)
