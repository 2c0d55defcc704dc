#include "python_values.h"

namespace scenegraph_python {

using python::Ref;

Ref text(std::string_view utf8) { return python::decodedText(utf8, "utf-8"); }

Ref textList(const std::vector<std::string>& items) {
  Ref list = python::newList();
  for (const std::string& item : items) python::append(list.get(), text(item).get());
  return list;
}

namespace {

Ref plainValue(const mayascene::Value& v) {
  using K = mayascene::Value::Kind;
  switch (v.kind) {
    case K::Bool: return python::boolean(v.b);
    case K::Int: return python::integer(v.i);
    case K::Double: return python::require(PyFloat_FromDouble(v.d));
    case K::String: return text(v.s);
    case K::StringArray:
    case K::Tuple: {
      Ref list = python::newList();
      for (const mayascene::Value& item : v.items) python::append(list.get(), plainValue(item).get());
      return v.kind == K::Tuple ? python::tupleFrom(list.get()) : list;
    }
    case K::Span: break;  // read from the file by the caller (graph_methods.cpp)
  }
  return Ref::borrow(Py_None);
}

}  // namespace

Ref attributeValue(const std::optional<mayascene::Value>& value) {
  if (!value) return Ref::borrow(Py_None);
  Ref plain = plainValue(*value);
  if (value->kind != mayascene::Value::Kind::Tuple) return plain;
  Ref list = python::newList();
  python::append(list.get(), plain.get());
  return list;
}

std::string textArgument(PyObject* object, const char* what) {
  if (!python::isText(object)) {
    PyErr_Format(PyExc_TypeError, "%s must be a string", what);
    throw python::Error();
  }
  return python::pathText(object);
}

std::optional<std::vector<std::string>> textsArgument(PyObject* object, const char* what) {
  if (object == nullptr || object == Py_None) return std::nullopt;
  std::vector<std::string> out;
  if (python::isText(object)) {
    out.push_back(textArgument(object, what));
    return out;
  }
  python::forEach(object, [&](const Ref& item) { out.push_back(textArgument(item.get(), what)); });
  return out;
}

bool truthArgument(PyObject* object) { return object != nullptr && python::isTrue(object); }

}  // namespace scenegraph_python
