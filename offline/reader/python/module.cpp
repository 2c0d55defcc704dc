// mayaascii: the Maya ASCII reader as plain Python data, for the offline host's stand-ins.
//
// Texts: the reader keeps the file's bytes; here they are decoded with the codec named by the
// scene's `//Codeset:` header (undecodable bytes become U+FFFD). Python 3 receives str; Python 2.7
// receives native str holding UTF-8, which is what the stand-ins compare and print.
#include <Python.h>

#include <new>
#include <string>
#include <vector>

#include "mayaascii/names.h"
#include "mayaascii/reader.h"
#include "pyref.h"

namespace {

using mayaascii_py::PythonError;
using mayaascii_py::Ref;

#if PY_MAJOR_VERSION >= 3
#define MAYAASCII_PY3 1
#endif

PyObject* g_parse_error = nullptr;  // mayaascii.ParseError, owned by the module

// ---- the one place where the two interpreter lines differ -------------------------------------

Ref make_text(const std::string& bytes, const char* codec) {
  Ref decoded = Ref::check(PyUnicode_Decode(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), codec, "replace"));
#ifdef MAYAASCII_PY3
  return decoded;
#else
  return Ref::check(PyUnicode_AsUTF8String(decoded.get()));
#endif
}

Ref make_int(std::int64_t v) {
#ifdef MAYAASCII_PY3
  return Ref::check(PyLong_FromLongLong(v));
#else
  if (v >= LONG_MIN && v <= LONG_MAX) return Ref::check(PyInt_FromLong(static_cast<long>(v)));
  return Ref::check(PyLong_FromLongLong(v));
#endif
}

// UTF-8 bytes of a text argument (str or unicode on 2.7, str on 3.x).
std::string utf8_argument(PyObject* o, const char* what) {
  Ref bytes;
  if (PyUnicode_Check(o)) {
    bytes = Ref::check(PyUnicode_AsUTF8String(o));
#ifndef MAYAASCII_PY3
  } else if (PyString_Check(o)) {
    bytes = Ref::borrow(o);
#endif
  } else {
    PyErr_Format(PyExc_TypeError, "%s must be a string", what);
    throw PythonError();
  }
  char* data = nullptr;
  Py_ssize_t size = 0;
#ifdef MAYAASCII_PY3
  if (PyBytes_AsStringAndSize(bytes.get(), &data, &size) < 0) throw PythonError();
#else
  if (PyString_AsStringAndSize(bytes.get(), &data, &size) < 0) throw PythonError();
#endif
  return std::string(data, static_cast<std::size_t>(size));
}

// The on-disk form of a path argument.
std::string path_argument(PyObject* o) {
#ifdef MAYAASCII_PY3
  Ref bytes;
  if (PyUnicode_Check(o)) {
    bytes = Ref::check(PyUnicode_EncodeFSDefault(o));
  } else if (PyBytes_Check(o)) {
    bytes = Ref::borrow(o);
  } else {
    PyErr_SetString(PyExc_TypeError, "path must be str or bytes");
    throw PythonError();
  }
  char* data = nullptr;
  Py_ssize_t size = 0;
  if (PyBytes_AsStringAndSize(bytes.get(), &data, &size) < 0) throw PythonError();
  return std::string(data, static_cast<std::size_t>(size));
#else
  if (PyUnicode_Check(o)) {
    const char* encoding = Py_FileSystemDefaultEncoding != nullptr ? Py_FileSystemDefaultEncoding : "utf-8";
    Ref bytes = Ref::check(PyUnicode_AsEncodedString(o, encoding, "strict"));
    return std::string(PyString_AsString(bytes.get()), static_cast<std::size_t>(PyString_Size(bytes.get())));
  }
  return utf8_argument(o, "path");
#endif
}

// Python knows the codec (2.7 has no PyCodec_KnownEncoding, so ask by decoding nothing).
bool known_codec(const char* codec) {
  Ref probe = Ref::steal(PyUnicode_Decode("", 0, codec, "strict"));
  if (!probe) PyErr_Clear();
  return static_cast<bool>(probe);
}

// ---- conversion of the scene model ------------------------------------------------------------

struct Converter {
  const char* codec;

  Ref text(const std::string& s) const { return make_text(s, codec); }

  Ref value(const mayaascii::Value& v) const {
    using K = mayaascii::Value::Kind;
    switch (v.kind) {
      case K::Bool: return Ref::check(PyBool_FromLong(v.b ? 1 : 0));
      case K::Int: return make_int(v.i);
      case K::Double: return Ref::check(PyFloat_FromDouble(v.d));
      case K::String: return text(v.s);
      case K::StringArray: {
        Ref list = Ref::check(PyList_New(0));
        for (const auto& item : v.items) append(list, value(item));
        return list;
      }
      case K::Tuple: {
        Ref tuple = Ref::check(PyTuple_New(static_cast<Py_ssize_t>(v.items.size())));
        for (std::size_t i = 0; i < v.items.size(); ++i) {
          if (PyTuple_SetItem(tuple.get(), static_cast<Py_ssize_t>(i), value(v.items[i]).release()) < 0) throw PythonError();
        }
        return tuple;
      }
    }
    return Ref::borrow(Py_None);
  }

  static void append(const Ref& list, const Ref& item) {
    if (PyList_Append(list.get(), item.get()) < 0) throw PythonError();
  }
  static void set(const Ref& dict, const char* key, const Ref& item) {
    if (PyDict_SetItemString(dict.get(), key, item.get()) < 0) throw PythonError();
  }
  static void set(const Ref& dict, const Ref& key, const Ref& item) {
    if (PyDict_SetItem(dict.get(), key.get(), item.get()) < 0) throw PythonError();
  }
  static Ref boolean(bool b) { return Ref::check(PyBool_FromLong(b ? 1 : 0)); }
  static Ref tuple(std::initializer_list<Ref> items) {
    Ref t = Ref::check(PyTuple_New(static_cast<Py_ssize_t>(items.size())));
    Py_ssize_t i = 0;
    for (const Ref& item : items) {
      Ref copy = item;
      if (PyTuple_SetItem(t.get(), i++, copy.release()) < 0) throw PythonError();
    }
    return t;
  }
  Ref text_list(const std::vector<std::string>& items) const {
    Ref list = Ref::check(PyList_New(0));
    for (const auto& s : items) append(list, text(s));
    return list;
  }
  Ref optional_text(const std::string& s) const { return s.empty() ? Ref::borrow(Py_None) : text(s); }

  Ref node(const mayaascii::Node& n) const {
    Ref d = Ref::check(PyDict_New());
    set(d, "name", text(n.name));
    set(d, "type", text(n.type));
    set(d, "parent", n.parent >= 0 ? make_int(n.parent) : Ref::borrow(Py_None));
    set(d, "parent_name", optional_text(n.parent_name));
    set(d, "path", optional_text(n.path));
    set(d, "shared", boolean(n.shared));
    set(d, "implicit", boolean(n.implicit));
    set(d, "locked", boolean(n.locked));
    set(d, "uuid", optional_text(n.uuid));
    Ref attrs = Ref::check(PyDict_New());
    for (const auto& a : n.attrs) set(attrs, text(a.first), value(a.second));
    set(d, "attrs", attrs);
    Ref dynamic = Ref::check(PyList_New(0));
    for (const auto& a : n.dynamic) {
      append(dynamic, tuple({text(a.short_name), text(a.long_name), text(a.type),
                             a.has_default ? value(a.default_value) : Ref::borrow(Py_None)}));
    }
    set(d, "dynamic", dynamic);
    return d;
  }

  Ref scene(const mayaascii::Scene& s) const {
    Ref d = Ref::check(PyDict_New());
    set(d, "file", text(s.file));
    set(d, "maya_version", text(s.maya_version));
    set(d, "codeset", text(s.codeset));
    set(d, "codec", text(codec));
    set(d, "required_maya", optional_text(s.required_maya));
    Ref requires_list = Ref::check(PyList_New(0));
    for (const auto& r : s.requires_) {
      append(requires_list, tuple({text(r.plugin), text(r.version), text_list(r.node_types), text_list(r.data_types)}));
    }
    set(d, "requires", requires_list);
    Ref units = Ref::check(PyDict_New());
    for (const auto& u : s.units) set(units, text(u.first), text(u.second));
    set(d, "units", units);
    Ref info = Ref::check(PyList_New(0));
    for (const auto& i : s.file_info) append(info, tuple({text(i.first), text(i.second)}));
    set(d, "file_info", info);
    Ref refs = Ref::check(PyList_New(0));
    for (const auto& r : s.references) {
      Ref ref = Ref::check(PyDict_New());
      set(ref, "path", text(r.path));
      set(ref, "namespace", text(r.ns));
      set(ref, "reference_node", text(r.reference_node));
      set(ref, "type", text(r.type));
      set(ref, "options", text(r.options));
      set(ref, "depth", make_int(r.depth));
      set(ref, "top_level", boolean(r.top_level));
      set(ref, "deferred", boolean(r.deferred));
      append(refs, ref);
    }
    set(d, "references", refs);
    Ref nodes = Ref::check(PyList_New(0));
    for (const auto& n : s.nodes) append(nodes, node(n));
    set(d, "nodes", nodes);
    Ref connections = Ref::check(PyList_New(0));
    for (const auto& c : s.connections) append(connections, tuple({text(c.source), text(c.destination)}));
    set(d, "connections", connections);
    Ref relationships = Ref::check(PyList_New(0));
    for (const auto& r : s.relationships) append(relationships, tuple({text(r.kind), text_list(r.members)}));
    set(d, "relationships", relationships);
    return d;
  }
};

// ---- entry points -----------------------------------------------------------------------------

void raise_parse_error(const mayaascii::ParseError& e) {
  Ref message = make_text(e.what(), "utf-8");
  Ref instance = Ref::check(PyObject_CallFunctionObjArgs(g_parse_error, message.get(), nullptr));
  Ref file = make_text(e.file(), "utf-8");
  Ref line = make_int(e.line());
  Ref column = make_int(e.column());
  if (PyObject_SetAttrString(instance.get(), "file", file.get()) < 0 ||
      PyObject_SetAttrString(instance.get(), "line", line.get()) < 0 ||
      PyObject_SetAttrString(instance.get(), "column", column.get()) < 0) {
    throw PythonError();
  }
  PyErr_SetObject(g_parse_error, instance.get());
}

// Every call from Python goes through here: no C++ exception may reach the interpreter.
template <class F>
PyObject* guarded(F&& body) noexcept {
  try {
    try {
      return body().release();
    } catch (const mayaascii::ParseError& e) {
      raise_parse_error(e);
    } catch (const PythonError&) {
    } catch (const std::bad_alloc&) {
      PyErr_NoMemory();
    } catch (const std::exception& e) {
      PyErr_SetString(PyExc_IOError, e.what());
    }
  } catch (const PythonError&) {  // raising the error itself failed; that exception stands
  } catch (...) {
    PyErr_SetString(PyExc_MemoryError, "mayaascii: out of memory while raising an error");
  }
  return nullptr;
}

PyObject* load(PyObject*, PyObject* args) {
  return guarded([&] {
    PyObject* path_object = nullptr;
    if (!PyArg_ParseTuple(args, "O:load", &path_object)) throw PythonError();
    const std::string path = path_argument(path_object);
    mayaascii::Scene scene;
    {
      PyThreadState* state = PyEval_SaveThread();  // reading needs no interpreter
      try {
        scene = mayaascii::read_file(path);
      } catch (...) {
        PyEval_RestoreThread(state);
        throw;
      }
      PyEval_RestoreThread(state);
    }
    std::string codec = mayaascii::codec_for_codeset(scene.codeset);
    if (!known_codec(codec.c_str())) codec = "utf-8";
    return Converter{codec.c_str()}.scene(scene);
  });
}

PyObject* resolve_attribute(PyObject*, PyObject* args) {
  return guarded([&] {
    PyObject* type_object = nullptr;
    PyObject* path_object = nullptr;
    PyObject* dynamic_object = Py_None;
    if (!PyArg_ParseTuple(args, "OO|O:resolve_attribute", &type_object, &path_object, &dynamic_object)) {
      throw PythonError();
    }
    const std::string type = utf8_argument(type_object, "node type");
    const std::string path = utf8_argument(path_object, "attribute");
    std::vector<mayaascii::DynamicAttribute> dynamic;
    if (dynamic_object != Py_None) {
      Ref items = Ref::check(PySequence_Fast(dynamic_object, "dynamic attributes must be a sequence"));
      const Py_ssize_t count = PySequence_Size(items.get());
      for (Py_ssize_t i = 0; i < count; ++i) {
        Ref entry = Ref::check(PySequence_GetItem(items.get(), i));
        Ref short_name = Ref::check(PySequence_GetItem(entry.get(), 0));
        Ref long_name = Ref::check(PySequence_GetItem(entry.get(), 1));
        mayaascii::DynamicAttribute attr;
        attr.short_name = utf8_argument(short_name.get(), "short name");
        attr.long_name = utf8_argument(long_name.get(), "long name");
        dynamic.push_back(std::move(attr));
      }
    }
    const std::string canonical = mayaascii::canonical_path(type, path, dynamic);
    const std::size_t leaf_start = path.rfind('.') == std::string::npos ? 0 : path.rfind('.') + 1;
    const std::string leaf = path.substr(leaf_start, path.find('[', leaf_start) - leaf_start);
    const mayaascii::AttributeInfo* info = mayaascii::find_attribute(type, leaf);
    mayaascii::Value value;
    const Converter convert{"utf-8"};
    Ref default_value = info != nullptr && mayaascii::default_value(*info, &value) ? convert.value(value)
                                                                                   : Ref::borrow(Py_None);
    return Converter::tuple({convert.text(canonical), Converter::boolean(info != nullptr), default_value});
  });
}

PyObject* type_ancestry(PyObject*, PyObject* args) {
  return guarded([&] {
    PyObject* type_object = nullptr;
    if (!PyArg_ParseTuple(args, "O:type_ancestry", &type_object)) throw PythonError();
    return Converter{"utf-8"}.text_list(mayaascii::type_ancestry(utf8_argument(type_object, "node type")));
  });
}

PyMethodDef kMethods[] = {
    {"load", load, METH_VARARGS,
     "load(path) -> dict: the scene model of a Maya ASCII file (raises ParseError with file, line, column)."},
    {"resolve_attribute", resolve_attribute, METH_VARARGS,
     "resolve_attribute(node_type, attr_path, dynamic=None) -> (long_path, known, default)."},
    {"type_ancestry", type_ancestry, METH_VARARGS,
     "type_ancestry(node_type) -> [node_type, base, base of base, ...]."},
    {nullptr, nullptr, 0, nullptr},
};

const char kDoc[] = "Maya ASCII scene reader for the offline host.";

bool add_parse_error(PyObject* module) {
  g_parse_error = PyErr_NewException(const_cast<char*>("mayaascii.ParseError"), PyExc_ValueError, nullptr);
  if (g_parse_error == nullptr) return false;
  Py_INCREF(g_parse_error);  // one reference for the module, one kept here
  if (PyModule_AddObject(module, "ParseError", g_parse_error) < 0) {
    Py_DECREF(g_parse_error);
    return false;
  }
  return true;
}

#ifdef MAYAASCII_PY3
PyModuleDef kModule = {PyModuleDef_HEAD_INIT, "mayaascii", kDoc, -1, kMethods, nullptr, nullptr, nullptr, nullptr};
#endif

}  // namespace

#if defined(_WIN32)
#define MAYAASCII_EXPORT
#else
#define MAYAASCII_EXPORT __attribute__((visibility("default")))
#endif

#ifdef MAYAASCII_PY3
extern "C" MAYAASCII_EXPORT PyObject* PyInit_mayaascii(void);
PyMODINIT_FUNC PyInit_mayaascii(void) {
  Ref module = Ref::steal(PyModule_Create(&kModule));
  if (!module || !add_parse_error(module.get())) return nullptr;
  return module.release();
}
#else
extern "C" MAYAASCII_EXPORT void initmayaascii(void);
PyMODINIT_FUNC initmayaascii(void) {
  PyObject* module = Py_InitModule3("mayaascii", kMethods, kDoc);  // borrowed: sys.modules owns it
  if (module != nullptr) add_parse_error(module);
}
#endif
