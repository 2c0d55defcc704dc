#include "folder_listing.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#ifndef _WIN32
#include <dirent.h>

#include <cerrno>
#endif

#include "python/interpreter_released.h"
#include "python/objects.h"
#include "servicepaths/folder_listing.h"

namespace servicepaths_python {

using python::Ref;
using servicepaths::FolderListing;
using Kind = FolderListing::Kind;

namespace {

#ifdef VANALYZER_PYTHON2
constexpr bool kPython2 = true;
#else
constexpr bool kPython2 = false;
#endif

constexpr char kCapsuleName[] = "servicepaths.FolderListing";

struct HeldListing {
  FolderListing names;
  // the order of the names' bytes is the order Python sorts them in, so a run of names with a
  // common start is a range of the listing
  bool ordered = false;
  std::unique_ptr<servicepaths::FoldedNames> folded;  // built when first asked
  std::unique_ptr<servicepaths::AsciiFoldedOrder> asciiFolded;  // built when first asked
};

void destroyListing(PyObject* capsule) { delete static_cast<HeldListing*>(PyCapsule_GetPointer(capsule, kCapsuleName)); }

HeldListing* listingIn(PyObject* object) {
  if (!PyCapsule_IsValid(object, kCapsuleName)) return nullptr;
  return static_cast<HeldListing*>(PyCapsule_GetPointer(object, kCapsuleName));
}

HeldListing& listingArgument(PyObject* object) {
  HeldListing* held = listingIn(object);
  if (held == nullptr) {
    PyErr_SetString(PyExc_TypeError, "expected a folder listing (servicepaths.list_folder, listing_of)");
    throw python::Error();
  }
  return *held;
}

bool isAscii(std::string_view bytes) {
  for (char byte : bytes)
    if (static_cast<unsigned char>(byte) >= 0x80) return false;
  return true;
}

// A name as the system spells it, with the kind of value it was.
struct Query {
  Ref holder;  // owns the bytes
  std::string_view bytes;
  Kind kind;
};

// Nothing for a value no listing can hold: not text or bytes, or text the file-system encoding
// cannot spell.
std::optional<Query> queryOf(PyObject* name) {
  const bool text = PyUnicode_Check(name);
  if (!text && !python::isBytes(name)) return std::nullopt;
  Ref encoded;
#ifdef _WIN32
  try {
    const std::string spelled = python::fileSystemPath(name);
    encoded = python::require(PyBytes_FromStringAndSize(spelled.data(), static_cast<Py_ssize_t>(spelled.size())));
  } catch (const python::Error&) {
    PyErr_Clear();
    return std::nullopt;
  }
#else
  if (text) {
#ifdef VANALYZER_PYTHON2
    encoded = Ref::steal(PyUnicode_AsEncodedString(name, Py_FileSystemDefaultEncoding, "strict"));
#else
    encoded = Ref::steal(PyUnicode_EncodeFSDefault(name));
#endif
    if (!encoded) {
      PyErr_Clear();
      return std::nullopt;
    }
  } else {
    encoded = Ref::borrow(name);
  }
#endif
  char* data = nullptr;
  Py_ssize_t size = 0;
  python::requireStatus(PyBytes_AsStringAndSize(encoded.get(), &data, &size));
  return Query{std::move(encoded), std::string_view(data, static_cast<std::size_t>(size)),
               text ? Kind::text : Kind::bytes};
}

// Whether an entry of the kind equals the query, its bytes being the query's: 2.7 takes an ASCII
// byte string and the text of the same characters for equal.
bool accepts(Kind entry, const Query& query) {
  return entry == query.kind || (kPython2 && isAscii(query.bytes));
}

Ref decoded(const FolderListing& names, std::size_t at) {
  return python::pathFromFileSystem(names.name(at), names.kind(at) == Kind::text);
}

bool fileSystemSpellsUtf8() {
  static const bool utf8 = [] {
    const Ref encoding = python::callMethod(python::importModule("sys").get(), "getfilesystemencoding");
    const Ref codec = python::callMethod(python::importModule("codecs").get(), "lookup", encoding);
    return python::equal(python::attribute(codec.get(), "name").get(), python::text("utf-8").get());
  }();
  return utf8;
}

Ref held(std::unique_ptr<HeldListing> listing) {
  listing->names.finish();
  const FolderListing& names = listing->names;
  // bytes sort as Python sorts byte strings; texts where each character is its own bytes' order:
  // ASCII, or (3.x) well-formed UTF-8
  listing->ordered = names.all_of(Kind::bytes) ||
                     (names.all_of(Kind::text) &&
                      (names.all_ascii() || (!kPython2 && names.all_utf8() && fileSystemSpellsUtf8())));
  Ref capsule = python::require(PyCapsule_New(listing.get(), kCapsuleName, destroyListing));
  listing.release();
  return capsule;
}

#ifndef _WIN32
// Reads the names of the folder at path (without "." and ".."); the errno of a failure, else 0.
template <class KindOf>
int readFolder(const char* path, FolderListing& names, KindOf kindOf) {
  DIR* folder = opendir(path);
  if (folder == nullptr) return errno;
  const std::unique_ptr<DIR, int (*)(DIR*)> closing(folder, closedir);
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(folder);
    if (entry == nullptr) return errno;
    const std::string_view name(entry->d_name);
    if (name != "." && name != "..") names.add(name, kindOf(name));
  }
}
#endif

}  // namespace

Ref listingOf(PyObject* namesIn) {
  auto listing = std::make_unique<HeldListing>();
  python::forEach(namesIn, [&](const Ref& name) {
    const std::optional<Query> query = queryOf(name.get());
    if (!query) {
      PyErr_SetString(PyExc_TypeError, "a folder's name must be text the file system can spell, or bytes");
      throw python::Error();
    }
    listing->names.add(query->bytes, query->kind);
  });
  return held(std::move(listing));
}

Ref listFolder(PyObject* folder) {
#ifdef _WIN32
  return listingOf(python::callMethod(python::importModule("os").get(), "listdir", Ref::borrow(folder)).get());
#else
  const bool text = PyUnicode_Check(folder);
  if (!text && !python::isBytes(folder)) {
    PyErr_SetString(PyExc_TypeError, "a folder must be text or bytes");
    throw python::Error();
  }
  const std::string path = python::fileSystemPath(folder);
  if (path.find('\0') != std::string::npos) {
    PyErr_SetString(PyExc_ValueError, "embedded null byte");
    throw python::Error();
  }
  auto listing = std::make_unique<HeldListing>();
  int failure = 0;
  if (kPython2 && text) {
    // 2.7 keeps a name of a Unicode folder that does not decode as the byte string it is
    failure = readFolder(path.c_str(), listing->names, [](std::string_view name) {
      try {
        python::pathFromFileSystem(name, true);
        return Kind::text;
      } catch (const python::Error&) {
        PyErr_Clear();
        return Kind::bytes;
      }
    });
  } else {
    const Kind kind = text ? Kind::text : Kind::bytes;
    const python::InterpreterReleased released;  // a network share may take long
    failure = readFolder(path.c_str(), listing->names, [kind](std::string_view) { return kind; });
  }
  if (failure != 0) {
    errno = failure;
    PyErr_SetFromErrnoWithFilenameObject(PyExc_OSError, folder);
    throw python::Error();
  }
  return held(std::move(listing));
#endif
}

bool holds(PyObject* names, PyObject* name) {
  const HeldListing* listing = listingIn(names);
  if (listing == nullptr) return python::requireStatus(PySequence_Contains(names, name)) == 1;
  const std::optional<Query> query = queryOf(name);
  if (!query) return false;
  const std::optional<std::size_t> at = listing->names.find(query->bytes);
  return at && accepts(listing->names.kind(*at), *query);
}

Ref namesStarting(PyObject* object, PyObject* prefix) {
  const HeldListing& listing = listingArgument(object);
  const FolderListing& names = listing.names;
  Ref found = python::newList();
  if (names.size() == 0) return found;
  const std::optional<Query> start = prefix == Py_None ? std::nullopt : queryOf(prefix);
  if (listing.ordered && (prefix == Py_None || (start && accepts(names.kind(0), *start)))) {
    // a text that is not well-formed UTF-8 starts none of a well-formed listing's names
    if (start && !names.all_ascii() && names.kind(0) == Kind::text && !servicepaths::is_utf8(start->bytes))
      return found;
    const auto [first, last] = start ? names.starting(start->bytes) : std::pair<std::size_t, std::size_t>{0, names.size()};
    for (std::size_t at = first; at < last; ++at) python::append(found.get(), decoded(names, at).get());
    return found;
  }
  // names whose bytes do not sort as their values: Python's own comparisons decide
  for (std::size_t at = 0; at < names.size(); ++at) {
    const Ref name = decoded(names, at);
    if (prefix == Py_None || python::isTrue(python::callMethod(name.get(), "startswith", prefix).get()))
      python::append(found.get(), name.get());
  }
  python::requireStatus(PyList_Sort(found.get()));
  return found;
}

Ref namesFolding(PyObject* object, PyObject* head) {
  HeldListing& listing = listingArgument(object);
  const FolderListing& names = listing.names;
  const std::optional<Query> start = queryOf(head);
  if (!listing.ordered || !start || start->bytes.empty() || !isAscii(start->bytes) ||
      (names.size() != 0 && !accepts(names.kind(0), *start)))
    return Ref::borrow(Py_None);
  if (!listing.asciiFolded) listing.asciiFolded = std::make_unique<servicepaths::AsciiFoldedOrder>(names);
  Ref found = python::newList();
  for (std::size_t at : listing.asciiFolded->starting(names, start->bytes))
    python::append(found.get(), decoded(names, at).get());
  return found;
}

Ref matchingCase(PyObject* object, PyObject* name) {
  HeldListing& listing = listingArgument(object);
  const FolderListing& names = listing.names;
  const Ref key = python::callMethod(name, "lower");
  Ref found = python::newList();
  const std::optional<Query> wanted = queryOf(key.get());
  if (!wanted) return found;
  if (!listing.folded) {
    auto folded = std::make_unique<servicepaths::FoldedNames>(names, [&](std::size_t at) -> std::optional<std::string> {
      const std::string_view entry = names.name(at);
      if (isAscii(entry)) {
        bool upper = false;
        for (char byte : entry) upper = upper || (byte >= 'A' && byte <= 'Z');
        return upper ? servicepaths::ascii_lowered(entry) : std::nullopt;
      }
      return python::fileSystemPath(python::callMethod(decoded(names, at).get(), "lower").get());
    });
    // lowering a name runs the interpreter, which may have let another thread build the same
    if (!listing.folded) listing.folded = std::move(folded);
  }
  for (std::size_t at : listing.folded->folding_to(names, wanted->bytes))
    if (accepts(names.kind(at), *wanted)) python::append(found.get(), decoded(names, at).get());
  python::requireStatus(PyList_Sort(found.get()));
  return found;
}

}  // namespace servicepaths_python
