// Small, checked operations on Python objects. Every function either succeeds or throws
// python::Error with the Python exception set; every returned Ref is owned.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "python/compat.h"
#include "python/ref.h"

namespace python {

inline PyObject* pointer(const Ref& object) { return object.get(); }
inline PyObject* pointer(PyObject* object) { return object; }

Ref attribute(PyObject* object, const char* name);
void setAttribute(PyObject* object, const char* name, const Ref& value);

// A tuple of borrowed items.
Ref tupleOf(std::initializer_list<PyObject*> items);

template <class... Items>
Ref tuple(const Items&... items) {
  return tupleOf({pointer(items)...});
}

// A tuple of an iterable's items.
Ref tupleFrom(PyObject* iterable);

Ref callObject(PyObject* callable, const Ref& arguments, PyObject* keywords = nullptr);

template <class... Arguments>
Ref call(PyObject* callable, const Arguments&... arguments) {
  return callObject(callable, tupleOf({pointer(arguments)...}));
}

template <class... Arguments>
Ref callMethod(PyObject* object, const char* name, const Arguments&... arguments) {
  return call(attribute(object, name).get(), arguments...);
}

// A call with one argument, without a tuple of our own (the interpreter passes it on its stack):
// for calls made once per file.
Ref callWithOne(PyObject* callable, PyObject* argument);

using Keyword = std::pair<const char*, PyObject*>;
Ref callWithKeywords(PyObject* callable, std::initializer_list<PyObject*> positional,
                     std::initializer_list<Keyword> keywords);

// Python's printf-style formatting: text(format) % (arguments...).
template <class... Arguments>
Ref format(const char* formatText, const Arguments&... arguments) {
  return require(PyNumber_Remainder(text(formatText).get(), tupleOf({pointer(arguments)...}).get()));
}

Ref concatenate(PyObject* left, PyObject* right);

bool isTrue(PyObject* object);
// The value of a Python int (OverflowError beyond 64 bits, TypeError for other kinds).
long long asInteger(PyObject* object);
bool equal(PyObject* left, PyObject* right);
bool less(PyObject* left, PyObject* right);

Ref str(PyObject* object);
Ref repr(PyObject* object);

Ref newList();
void append(PyObject* list, PyObject* item);
Ref listOf(PyObject* iterable);
Ref newDict();
void setItem(PyObject* mapping, const char* key, PyObject* value);
void setItem(PyObject* mapping, PyObject* key, PyObject* value);
Ref item(PyObject* mapping, PyObject* key);
Ref itemAt(PyObject* sequence, Py_ssize_t index);
Py_ssize_t length(PyObject* object);
bool contains(PyObject* container, PyObject* value);

// Calls visit(item) for each item of an iterable, in its order.
template <class Visit>
void forEach(PyObject* iterable, Visit&& visit) {
  Ref iterator = require(PyObject_GetIter(iterable));
  while (Ref element = Ref::steal(PyIter_Next(iterator.get()))) visit(element);
  if (PyErr_Occurred()) throw Error();
}

Ref importModule(const char* name);

}  // namespace python
