#include "python/compat.h"

#include <climits>
#include <vector>

#include "python/objects.h"

namespace python {

#ifdef VANALYZER_PYTHON2

Ref text(std::string_view utf8) {
  return require(PyString_FromStringAndSize(utf8.data(), static_cast<Py_ssize_t>(utf8.size())));
}

Ref integer(long long value) {
  if (value >= LONG_MIN && value <= LONG_MAX) return require(PyInt_FromLong(static_cast<long>(value)));
  return require(PyLong_FromLongLong(value));
}

Ref integerFromDecimal(const std::string& decimal) {
  std::vector<char> buffer(decimal.begin(), decimal.end());
  buffer.push_back('\0');
  // PyInt_FromString gives an int when the value fits and a long otherwise.
  return require(PyInt_FromString(buffer.data(), nullptr, 10));
}

bool isBytes(PyObject* object) { return PyString_Check(object); }

std::string utf8(PyObject* textValue) {
  if (PyString_Check(textValue)) {
    char* data = nullptr;
    Py_ssize_t size = 0;
    requireStatus(PyString_AsStringAndSize(textValue, &data, &size));
    return std::string(data, static_cast<size_t>(size));
  }
  if (PyUnicode_Check(textValue)) {
    Ref encoded = require(PyUnicode_AsUTF8String(textValue));
    return utf8(encoded.get());
  }
  PyErr_SetString(PyExc_TypeError, "expected a text value");
  throw Error();
}

bool isText(PyObject* object) { return PyString_Check(object) || PyUnicode_Check(object); }

Ref processArgumentBytes(PyObject*, PyObject* entry) { return Ref::borrow(entry); }

Ref decodedText(std::string_view bytes, const char* codec) {
  Ref decoded = require(PyUnicode_Decode(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), codec, "replace"));
  return require(PyUnicode_AsUTF8String(decoded.get()));
}

Ref undefinedNameMessage(const char* name) {
  return require(PyString_FromFormat("global name '%s' is not defined", name));
}

Ref createModule(const char* name, PyMethodDef* functions, const char* documentation) {
  // 2.7 declares the documentation parameter without const; it does not write to it.
  return Ref::borrow(require(Py_InitModule4(name, functions, const_cast<char*>(documentation), nullptr,
                                            PYTHON_API_VERSION)).release());
}

Ref createOperationsBase(const char* qualifiedName, PyMethodDef* methods) {
  // 2.7 has no PyType_FromSpec; one static type object serves the process.
  static PyTypeObject base;  // zero-initialised until the first call fills it in
  if (base.tp_name == nullptr) {
    base.ob_refcnt = 1;  // 2.7 spells the object header out as fields of the type
    base.tp_name = qualifiedName;
    base.tp_basicsize = sizeof(PyObject);
    base.tp_flags = Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE;
    base.tp_methods = methods;
    base.tp_new = PyType_GenericNew;
    requireStatus(PyType_Ready(&base));
  }
  return Ref::borrow(reinterpret_cast<PyObject*>(&base));
}

bool isNumber(PyObject* object) {
  return (PyInt_Check(object) || PyLong_Check(object) || PyFloat_Check(object)) && !PyBool_Check(object);
}

namespace {
std::string bytesOf(PyObject* bytes) {
  char* data = nullptr;
  Py_ssize_t size = 0;
  requireStatus(PyString_AsStringAndSize(bytes, &data, &size));
  return std::string(data, static_cast<size_t>(size));
}

const char* fileSystemEncoding() {
  return Py_FileSystemDefaultEncoding ? Py_FileSystemDefaultEncoding : PyUnicode_GetDefaultEncoding();
}
}  // namespace

std::string pathText(PyObject* path) {
  if (PyString_Check(path)) return bytesOf(path);
  if (PyUnicode_Check(path)) return bytesOf(require(PyUnicode_AsUTF8String(path)).get());
  PyErr_SetString(PyExc_TypeError, "expected a path text");
  throw Error();
}

Ref pathFromText(std::string_view text, bool unicode) {
  const auto size = static_cast<Py_ssize_t>(text.size());
  if (unicode) return require(PyUnicode_DecodeUTF8(text.data(), size, "strict"));
  return require(PyString_FromStringAndSize(text.data(), size));
}

#if defined(_WIN32)
std::string fileSystemPath(PyObject* path) {
  if (PyUnicode_Check(path)) return pathText(path);
  std::string bytes = pathText(path);
  Ref wide = require(PyUnicode_DecodeMBCS(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "strict"));
  return pathText(wide.get());
}

Ref pathFromFileSystem(std::string_view bytes, bool unicode) {
  Ref wide = pathFromText(bytes, true);
  if (unicode) return wide;
  return require(PyUnicode_AsMBCSString(wide.get()));
}
#else
std::string fileSystemPath(PyObject* path) {
  if (PyUnicode_Check(path)) {
    return bytesOf(require(PyUnicode_AsEncodedString(path, fileSystemEncoding(), "strict")).get());
  }
  return pathText(path);
}

Ref pathFromFileSystem(std::string_view bytes, bool unicode) {
  const auto size = static_cast<Py_ssize_t>(bytes.size());
  if (unicode) return require(PyUnicode_Decode(bytes.data(), size, fileSystemEncoding(), "strict"));
  return require(PyString_FromStringAndSize(bytes.data(), size));
}
#endif

Ref utf8ForLookup(PyObject* value) {
  if (PyUnicode_Check(value)) return require(PyUnicode_AsUTF8String(value));
  if (PyString_Check(value)) {
    // str.encode first decodes with the default (ASCII) codec.
    const std::string bytes = bytesOf(value);
    require(PyUnicode_DecodeASCII(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "strict"));
    return Ref::borrow(value);
  }
  return require(PyObject_CallMethod(value, const_cast<char*>("encode"), const_cast<char*>("s"), "utf-8"));
}

Ref currentDirectory(bool unicode) {
  return require(PyObject_CallMethod(importModule("os").get(), const_cast<char*>(unicode ? "getcwdu" : "getcwd"),
                                     nullptr));
}


#else

Ref text(std::string_view utf8) {
  return require(PyUnicode_FromStringAndSize(utf8.data(), static_cast<Py_ssize_t>(utf8.size())));
}

Ref integer(long long value) { return require(PyLong_FromLongLong(value)); }

Ref integerFromDecimal(const std::string& decimal) {
  std::vector<char> buffer(decimal.begin(), decimal.end());
  buffer.push_back('\0');
  return require(PyLong_FromString(buffer.data(), nullptr, 10));
}

bool isBytes(PyObject* object) { return PyBytes_Check(object); }

std::string utf8(PyObject* textValue) {
  if (PyUnicode_Check(textValue)) {
    Ref encoded = require(PyUnicode_AsUTF8String(textValue));
    return utf8(encoded.get());
  }
  if (PyBytes_Check(textValue)) {
    char* data = nullptr;
    Py_ssize_t size = 0;
    requireStatus(PyBytes_AsStringAndSize(textValue, &data, &size));
    return std::string(data, static_cast<size_t>(size));
  }
  PyErr_SetString(PyExc_TypeError, "expected a text value");
  throw Error();
}

bool isText(PyObject* object) { return PyUnicode_Check(object); }

Ref processArgumentBytes(PyObject* os, PyObject* entry) { return callMethod(os, "fsencode", Ref::borrow(entry)); }

Ref decodedText(std::string_view bytes, const char* codec) {
  return require(PyUnicode_Decode(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), codec, "replace"));
}

Ref undefinedNameMessage(const char* name) {
  return require(PyUnicode_FromFormat("name '%s' is not defined", name));
}

Ref createModule(const char* name, PyMethodDef* functions, const char* documentation) {
  static PyModuleDef definition = {PyModuleDef_HEAD_INIT, nullptr, nullptr, -1, nullptr,
                                   nullptr, nullptr, nullptr, nullptr};
  definition.m_name = name;
  definition.m_doc = documentation;
  definition.m_methods = functions;
  return require(PyModule_Create(&definition));
}

Ref createOperationsBase(const char* qualifiedName, PyMethodDef* methods) {
  // No C fields and no own dealloc: the base stays stateless, so the type's own reference
  // needs no version-dependent handling.
  static PyType_Slot slots[] = {{Py_tp_methods, nullptr}, {0, nullptr}};
  slots[0].pfunc = methods;
  static PyType_Spec spec = {nullptr, 0, 0, Py_TPFLAGS_DEFAULT | Py_TPFLAGS_BASETYPE, slots};
  spec.name = qualifiedName;
  return require(PyType_FromSpec(&spec));
}


bool isNumber(PyObject* object) {
  return (PyLong_Check(object) || PyFloat_Check(object)) && !PyBool_Check(object);
}

namespace {
std::string bytesOf(PyObject* bytes) {
  char* data = nullptr;
  Py_ssize_t size = 0;
  requireStatus(PyBytes_AsStringAndSize(bytes, &data, &size));
  return std::string(data, static_cast<size_t>(size));
}
}  // namespace

std::string pathText(PyObject* path) {
  if (PyUnicode_Check(path)) {
    return bytesOf(require(PyUnicode_AsEncodedString(path, "utf-8", "surrogatepass")).get());
  }
  if (PyBytes_Check(path)) return bytesOf(path);
  PyErr_Format(PyExc_TypeError, "expected str or bytes as a path, not %R", path);
  throw Error();
}

Ref pathFromText(std::string_view text, bool unicode) {
  const auto size = static_cast<Py_ssize_t>(text.size());
  if (unicode) return require(PyUnicode_DecodeUTF8(text.data(), size, "surrogatepass"));
  return require(PyBytes_FromStringAndSize(text.data(), size));
}

#if defined(_WIN32)
std::string fileSystemPath(PyObject* path) { return pathText(path); }
Ref pathFromFileSystem(std::string_view bytes, bool unicode) { return pathFromText(bytes, unicode); }
#else
std::string fileSystemPath(PyObject* path) {
  if (PyUnicode_Check(path)) return bytesOf(require(PyUnicode_EncodeFSDefault(path)).get());
  return pathText(path);
}

Ref pathFromFileSystem(std::string_view bytes, bool unicode) {
  const auto size = static_cast<Py_ssize_t>(bytes.size());
  if (unicode) return require(PyUnicode_DecodeFSDefaultAndSize(bytes.data(), size));
  return require(PyBytes_FromStringAndSize(bytes.data(), size));
}
#endif

Ref utf8ForLookup(PyObject* value) {
  if (!PyUnicode_Check(value)) {
    PyErr_Format(PyExc_TypeError, "expected str to encode as UTF-8, not %R", value);
    throw Error();
  }
  require(PyUnicode_AsUTF8String(value));
  return Ref::borrow(value);
}

Ref currentDirectory(bool unicode) {
  return require(PyObject_CallMethod(importModule("os").get(), unicode ? "getcwd" : "getcwdb", nullptr));
}


#endif

Ref sysObject(const char* name) {
  // 2.7 declares the name parameter without const; it does not write to it.
  return Ref::borrow(PySys_GetObject(const_cast<char*>(name)));
}

Ref unicodeText(std::string_view utf8) {
  return require(PyUnicode_DecodeUTF8(utf8.data(), static_cast<Py_ssize_t>(utf8.size()), "strict"));
}

std::optional<std::string> utf8IfText(PyObject* value) {
  if (!isText(value)) return std::nullopt;
  return pathText(value);
}

Ref boolean(bool value) { return Ref::borrow(value ? Py_True : Py_False); }

bool isUnicode(PyObject* object) { return PyUnicode_Check(object); }

}  // namespace python
