// mayascene: the scene reader (Maya ASCII and Maya Binary) as plain Python data, for the offline
// host's stand-ins.
//
// Texts: the reader keeps the file's bytes; here they are decoded with the codec its codeset
// names: a .ma file's `//Codeset:` header; for a .mb file, UTF-8 when every text is valid UTF-8,
// else the code page $VANALYZER_MB_CODEPAGE names (default 1252). Undecodable bytes become U+FFFD. Python 3 receives str; Python 2.7
// receives native str holding UTF-8, which is what the stand-ins compare and print.
#include <new>
#include <string>
#include <vector>

#include "mayascene/names.h"
#include "mayascene/reader.h"
#include "python/module_entry.h"
#include "python/compat.h"
#include "python/objects.h"
#include "reference_record.h"
#include "scene_reading.h"

namespace {

using python::Ref;

// mayascene.ParseError. Its reference is kept for the life of the process, as the module's is.
PyObject* parseErrorClass = nullptr;

Ref none() { return Ref::borrow(Py_None); }

// UTF-8 of a text argument (str or unicode on 2.7, str on 3.x).
std::string textArgument(PyObject* object, const char* what) {
  if (!python::isText(object)) {
    PyErr_Format(PyExc_TypeError, "%s must be a string", what);
    throw python::Error();
  }
  return python::utf8(object);
}

// ---- conversion of the scene model ------------------------------------------------------------

struct Converter {
  const char* codec;
  const mayascene::Scene* source = nullptr;  // whose file holds its Span values

  Ref text(std::string_view bytes) const { return python::decodedText(bytes, codec); }
  Ref optionalText(std::string_view bytes) const { return bytes.empty() ? none() : text(bytes); }

  Ref textList(const std::vector<std::string>& items) const {
    Ref list = python::newList();
    for (const auto& item : items) python::append(list.get(), text(item).get());
    return list;
  }

  Ref value(const mayascene::Value& v) const {
    using K = mayascene::Value::Kind;
    switch (v.kind) {
      case K::Bool: return python::boolean(v.b);
      case K::Int: return python::integer(v.i);
      case K::Double: return python::require(PyFloat_FromDouble(v.d));
      case K::String: return text(v.s);
      case K::StringArray: return valueList(v.items);
      case K::Tuple: return python::tupleFrom(valueList(v.items).get());
      case K::Span: return source != nullptr ? text(mayascene::read_span(*source, v)) : none();
    }
    return none();
  }

  Ref valueList(const std::vector<mayascene::Value>& items) const {
    Ref list = python::newList();
    for (const auto& item : items) python::append(list.get(), value(item).get());
    return list;
  }

  Ref node(const mayascene::Scene& s, int index) const {
    const mayascene::Node& n = s.nodes[static_cast<std::size_t>(index)];
    Ref d = python::newDict();
    python::setItem(d.get(), "name", text(n.name).get());
    python::setItem(d.get(), "type", text(n.type).get());
    python::setItem(d.get(), "parent", (n.parent >= 0 ? python::integer(n.parent) : none()).get());
    python::setItem(d.get(), "parent_name", optionalText(n.parent_name).get());
    python::setItem(d.get(), "path", optionalText(mayascene::dag_path(s, index)).get());
    python::setItem(d.get(), "shared", python::boolean(n.shared).get());
    python::setItem(d.get(), "implicit", python::boolean(n.implicit).get());
    python::setItem(d.get(), "locked", python::boolean(n.locked).get());
    python::setItem(d.get(), "uuid", optionalText(s.uuids.text(index)).get());
    Ref attrs = python::newDict();
    for (const auto& a : n.attrs) python::setItem(attrs.get(), text(std::string(a.first)).get(), value(a.second).get());
    python::setItem(d.get(), "attrs", attrs.get());
    Ref dynamic = python::newList();
    for (const auto& a : n.dynamic) {
      python::append(dynamic.get(), python::tuple(text(a.short_name), text(a.long_name), text(a.type),
                                                  a.has_default ? value(a.default_value) : none()).get());
    }
    python::setItem(d.get(), "dynamic", dynamic.get());
    return d;
  }

  Ref scene(const mayascene::Scene& s) const {
    Ref d = python::newDict();
    python::setItem(d.get(), "file", text(s.file).get());
    python::setItem(d.get(), "format", text(s.format).get());
    python::setItem(d.get(), "maya_version", text(s.maya_version).get());
    python::setItem(d.get(), "codeset", text(s.codeset).get());
    python::setItem(d.get(), "codec", text(codec).get());
    python::setItem(d.get(), "required_maya", optionalText(s.required_maya).get());
    Ref requiresList = python::newList();
    for (const auto& r : s.requires_) {
      python::append(requiresList.get(), python::tuple(text(r.plugin), text(r.version), textList(r.node_types),
                                                       textList(r.data_types)).get());
    }
    python::setItem(d.get(), "requires", requiresList.get());
    Ref units = python::newDict();
    for (const auto& u : s.units) python::setItem(units.get(), text(u.first).get(), text(u.second).get());
    python::setItem(d.get(), "units", units.get());
    Ref info = python::newList();
    for (const auto& i : s.file_info) python::append(info.get(), python::tuple(text(i.first), text(i.second)).get());
    python::setItem(d.get(), "file_info", info.get());
    Ref references = python::newList();
    for (const auto& r : s.references) {
      python::append(references.get(),
                     mayascene_python::referenceRecord(r, [this](const std::string& t) { return text(t); }).get());
    }
    python::setItem(d.get(), "references", references.get());
    Ref nodes = python::newList();
    for (std::size_t i = 0; i < s.nodes.size(); ++i) python::append(nodes.get(), node(s, static_cast<int>(i)).get());
    python::setItem(d.get(), "nodes", nodes.get());
    Ref connections = python::newList();
    for (const auto& c : s.connections) {
      python::append(connections.get(), python::tuple(text(std::string(c.source())), text(std::string(c.destination()))).get());
    }
    python::setItem(d.get(), "connections", connections.get());
    Ref relationships = python::newList();
    for (const auto& r : s.relationships) {
      python::append(relationships.get(), python::tuple(text(r.kind), textList(r.members)).get());
    }
    python::setItem(d.get(), "relationships", relationships.get());
    python::setItem(d.get(), "reference_edits", referenceEdits(s).get());
    Ref longValues = python::newList();
    for (const auto& l : s.long_values) {
      python::append(longValues.get(), python::tuple(text(l.where), python::integer(static_cast<long long>(l.length)),
                                                     python::boolean(l.kept)).get());
    }
    python::setItem(d.get(), "long_values", longValues.get());
    return d;
  }

  // [{"holder", "owner", "groups": [{"reference_node", "edits": [(code, [field, ...]), ...]}]}]
  Ref referenceEdits(const mayascene::Scene& s) const {
    Ref list = python::newList();
    for (const auto& holder : s.reference_edits) {
      Ref groups = python::newList();
      for (const auto& group : holder.groups) {
        Ref edits = python::newList();
        for (const auto& edit : group.edits) {
          python::append(edits.get(), python::tuple(python::integer(edit.code), textList(edit.fields)).get());
        }
        Ref g = python::newDict();
        python::setItem(g.get(), "reference_node", text(group.reference_node).get());
        python::setItem(g.get(), "edits", edits.get());
        python::append(groups.get(), g.get());
      }
      Ref h = python::newDict();
      python::setItem(h.get(), "holder", text(holder.holder).get());
      python::setItem(h.get(), "owner", text(holder.owner).get());
      python::setItem(h.get(), "groups", groups.get());
      python::setItem(h.get(), "unread", python::integer(static_cast<long long>(holder.unread)).get());
      python::append(list.get(), h.get());
    }
    return list;
  }
};

// ---- entry points -----------------------------------------------------------------------------

// The reader's errors become ParseError (a malformed scene) or IOError (a file that cannot be read).
template <class Body>
PyObject* readerEntry(Body&& body) noexcept {
  return python::entry([&] {
    try {
      return body();
    } catch (const python::Error&) {
      throw;
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const mayascene::ParseError& failure) {
      mayascene_python::raiseParseError(parseErrorClass, failure);
    } catch (const std::exception& failure) {
      PyErr_SetString(PyExc_IOError, failure.what());
    }
    throw python::Error();
  });
}

PyObject* load(PyObject*, PyObject* args) {
  return readerEntry([&] {
    PyObject* pathObject = nullptr;
    if (!PyArg_ParseTuple(args, "O:load", &pathObject)) throw python::Error();
    const mayascene::Scene scene = mayascene_python::readScene(python::fileSystemPath(pathObject));
    const std::string codec = mayascene_python::sceneCodec(scene);
    return Converter{codec.c_str(), &scene}.scene(scene);
  });
}

mayascene::DynamicAttributes dynamicAttributes(PyObject* sequence) {
  mayascene::DynamicAttributes dynamic;
  Ref items = python::require(PySequence_Fast(sequence, "dynamic attributes must be a sequence"));
  const Py_ssize_t count = python::length(items.get());
  for (Py_ssize_t i = 0; i < count; ++i) {
    Ref entry = python::itemAt(items.get(), i);
    mayascene::DynamicAttribute attribute;
    attribute.short_name = textArgument(python::itemAt(entry.get(), 0).get(), "short name");
    attribute.long_name = textArgument(python::itemAt(entry.get(), 1).get(), "long name");
    dynamic.push_back(std::move(attribute));
  }
  return dynamic;
}

PyObject* resolveAttribute(PyObject*, PyObject* args) {
  return readerEntry([&] {
    PyObject* typeObject = nullptr;
    PyObject* pathObject = nullptr;
    PyObject* dynamicObject = Py_None;
    if (!PyArg_ParseTuple(args, "OO|O:resolve_attribute", &typeObject, &pathObject, &dynamicObject)) {
      throw python::Error();
    }
    const std::string type = textArgument(typeObject, "node type");
    const std::string path = textArgument(pathObject, "attribute");
    const mayascene::DynamicAttributes dynamic =
        dynamicObject == Py_None ? mayascene::DynamicAttributes() : dynamicAttributes(dynamicObject);
    const std::string canonical = mayascene::canonical_path(type, path, dynamic);
    const std::size_t leafStart = path.rfind('.') == std::string::npos ? 0 : path.rfind('.') + 1;
    const std::string leaf = path.substr(leafStart, path.find('[', leafStart) - leafStart);
    const mayascene::AttributeInfo* info = mayascene::find_attribute(type, leaf);
    mayascene::Value value;
    const Converter convert{"utf-8"};
    Ref defaultValue =
        info != nullptr && mayascene::default_value(*info, &value) ? convert.value(value) : none();
    return python::tuple(convert.text(canonical), python::boolean(info != nullptr), defaultValue);
  });
}

PyObject* typeAncestry(PyObject*, PyObject* args) {
  return readerEntry([&] {
    PyObject* typeObject = nullptr;
    if (!PyArg_ParseTuple(args, "O:type_ancestry", &typeObject)) throw python::Error();
    return Converter{"utf-8"}.textList(mayascene::type_ancestry(textArgument(typeObject, "node type")));
  });
}

PyMethodDef methods[] = {
    {"load", load, METH_VARARGS,
     "load(path) -> dict: the scene model of a Maya ASCII or Maya Binary file, told by its first bytes "
     "(raises ParseError with file, line and column, or file, offset and chunk)."},
    {"resolve_attribute", resolveAttribute, METH_VARARGS,
     "resolve_attribute(node_type, attr_path, dynamic=None) -> (long_path, known, default)."},
    {"type_ancestry", typeAncestry, METH_VARARGS,
     "type_ancestry(node_type) -> [node_type, base, base of base, ...]."},
    {nullptr, nullptr, 0, nullptr},
};

// PyModule_AddObject steals the reference only when it succeeds.
void addToModule(PyObject* module, const char* name, Ref value) {
  python::requireStatus(PyModule_AddObject(module, name, value.get()));
  value.release();
}

Ref loadModule() {
  Ref module = python::createModule("mayascene", methods, "Maya scene reader (.ma and .mb) for the offline host.");
  // 2.7 declares the name parameter without const; it does not write to it.
  Ref errorClass =
      python::require(PyErr_NewException(const_cast<char*>("mayascene.ParseError"), PyExc_ValueError, nullptr));
  addToModule(module.get(), "ParseError", errorClass);
  parseErrorClass = errorClass.release();
  return module;
}

}  // namespace

PYTHON_MODULE_ENTRY(mayascene, loadModule)
