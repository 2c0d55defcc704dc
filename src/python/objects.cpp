#include "python/objects.h"

namespace python {

Ref attribute(PyObject* object, const char* name) {
  return require(PyObject_GetAttrString(object, name));
}

void setAttribute(PyObject* object, const char* name, const Ref& value) {
  requireStatus(PyObject_SetAttrString(object, name, value.get()));
}

Ref tupleOf(std::initializer_list<PyObject*> items) {
  Ref tuple = require(PyTuple_New(static_cast<Py_ssize_t>(items.size())));
  Py_ssize_t index = 0;
  for (PyObject* element : items) {
    // PyTuple_SetItem steals: hand it a reference of its own.
    requireStatus(PyTuple_SetItem(tuple.get(), index++, Ref::borrow(element).release()));
  }
  return tuple;
}

Ref tupleFrom(PyObject* iterable) { return require(PySequence_Tuple(iterable)); }

Ref callObject(PyObject* callable, const Ref& arguments, PyObject* keywords) {
  return require(PyObject_Call(callable, arguments.get(), keywords));
}

Ref callWithOne(PyObject* callable, PyObject* argument) {
  return require(PyObject_CallFunctionObjArgs(callable, argument, nullptr));
}

Ref callWithKeywords(PyObject* callable, std::initializer_list<PyObject*> positional,
                     std::initializer_list<Keyword> keywords) {
  Ref named = newDict();
  for (const Keyword& keyword : keywords) setItem(named.get(), keyword.first, keyword.second);
  return callObject(callable, tupleOf(positional), named.get());
}

Ref concatenate(PyObject* left, PyObject* right) { return require(PyNumber_Add(left, right)); }

bool isTrue(PyObject* object) { return requireStatus(PyObject_IsTrue(object)) == 1; }

long long asInteger(PyObject* object) {
  const long long value = PyLong_AsLongLong(object);
  if (value == -1 && PyErr_Occurred()) throw Error();
  return value;
}

bool equal(PyObject* left, PyObject* right) {
  return requireStatus(PyObject_RichCompareBool(left, right, Py_EQ)) == 1;
}

bool less(PyObject* left, PyObject* right) {
  return requireStatus(PyObject_RichCompareBool(left, right, Py_LT)) == 1;
}

Ref str(PyObject* object) { return require(PyObject_Str(object)); }
Ref repr(PyObject* object) { return require(PyObject_Repr(object)); }

Ref newList() { return require(PyList_New(0)); }

void append(PyObject* list, PyObject* item) { requireStatus(PyList_Append(list, item)); }

Ref listOf(PyObject* iterable) { return require(PySequence_List(iterable)); }

Ref newDict() { return require(PyDict_New()); }

void setItem(PyObject* mapping, const char* key, PyObject* value) {
  setItem(mapping, text(key).get(), value);
}

void setItem(PyObject* mapping, PyObject* key, PyObject* value) {
  requireStatus(PyObject_SetItem(mapping, key, value));
}

Ref item(PyObject* mapping, PyObject* key) { return require(PyObject_GetItem(mapping, key)); }

Ref itemAt(PyObject* sequence, Py_ssize_t index) {
  return require(PySequence_GetItem(sequence, index));
}

Py_ssize_t length(PyObject* object) {
  Py_ssize_t size = PyObject_Size(object);
  if (size < 0) throw Error();
  return size;
}

bool contains(PyObject* container, PyObject* value) {
  return requireStatus(PySequence_Contains(container, value)) == 1;
}

Ref importModule(const char* name) { return require(PyImport_ImportModule(name)); }

}  // namespace python
