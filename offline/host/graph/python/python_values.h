// Between the graph's UTF-8 texts and values and the interpreter's objects.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mayascene/scene.h"
#include "python/compat.h"
#include "python/objects.h"

namespace scenegraph_python {

// Native text (str on both lines) from the graph's UTF-8.
python::Ref text(std::string_view utf8);
python::Ref textList(const std::vector<std::string>& items);
// A stored value as getAttr answers it: compounds and vectors as a list holding one tuple.
python::Ref attributeValue(const std::optional<mayascene::Value>& value);

// A text argument as UTF-8 (str, or 2.7's unicode); a name that cannot be UTF-8 keeps its
// surrogates, so it names nothing rather than failing.
std::string textArgument(PyObject* object, const char* what);
// None, one text or a sequence of texts.
std::optional<std::vector<std::string>> textsArgument(PyObject* object, const char* what);
bool truthArgument(PyObject* object);

}  // namespace scenegraph_python
