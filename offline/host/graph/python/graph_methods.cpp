// The methods of scenegraph.Graph. Each one reads its arguments, asks the graph and builds only
// the objects it returns; the C++ graph lives in a capsule in the instance's `_graph` attribute.
#include "graph_methods.h"

#include <cstdlib>
#include <new>
#include <optional>

#include "mayascene/names.h"
#include "mayascene/reader.h"
#include "python/caught_error.h"
#include "python_values.h"
#include "scenegraph/queries.h"
#include "scenegraph/reference_edits.h"

namespace scenegraph_python {

using python::Ref;
using scenegraph::Graph;
using scenegraph::NodeId;

namespace {

constexpr char kCapsuleName[] = "scenegraph.Graph";
constexpr char kGraphAttribute[] = "_graph";

PyObject* parseErrorClass = nullptr;

Graph& graphOf(PyObject* self) {
  Ref capsule = python::attribute(self, kGraphAttribute);
  void* graph = PyCapsule_GetPointer(capsule.get(), kCapsuleName);
  if (graph == nullptr) throw python::Error();
  return *static_cast<Graph*>(graph);
}

void destroyGraph(PyObject* capsule) {
  delete static_cast<Graph*>(PyCapsule_GetPointer(capsule, kCapsuleName));
}

[[noreturn]] void raiseParseError(const mayascene::ParseError& failure) {
  Ref instance = python::call(parseErrorClass, python::decodedText(failure.what(), "utf-8"));
  python::setAttribute(instance.get(), "file", python::decodedText(failure.file(), "utf-8"));
  // A Maya ASCII error has a line and column, a Maya Binary one a byte offset and a chunk.
  const bool binary = failure.binary();
  const Ref none = Ref::borrow(Py_None);
  python::setAttribute(instance.get(), "line", binary ? none : python::integer(failure.line()));
  python::setAttribute(instance.get(), "column", binary ? none : python::integer(failure.column()));
  python::setAttribute(instance.get(), "offset",
                       binary ? python::integer(static_cast<long long>(failure.offset())) : none);
  python::setAttribute(instance.get(), "chunk", binary ? python::decodedText(failure.chunk(), "utf-8") : none);
  PyErr_SetObject(parseErrorClass, instance.get());
  throw python::Error();
}

// A method body with the graph: a name that names no node (or several) is Maya's ValueError.
template <class Body>
PyObject* withGraph(PyObject* self, Body&& body) noexcept {
  return python::entry([&]() -> Ref {
    Graph& graph = graphOf(self);
    try {
      return body(graph);
    } catch (const scenegraph::NameError& failure) {
      PyErr_SetString(PyExc_ValueError, failure.what());
      throw python::Error();
    }
  });
}

// PyArg_ParseTupleAndKeywords' keyword list; 2.7 declares it without const.
template <std::size_t N>
char** keywords(const char* (&names)[N]) {
  return const_cast<char**>(names);
}

NodeId nodeArgument(const Graph& graph, PyObject* object) {
  const long long value = python::asInteger(object);
  if (value < 0 || static_cast<unsigned long long>(value) >= graph.node_count()) {
    PyErr_SetString(PyExc_IndexError, "no node of that id in the graph");
    throw python::Error();
  }
  return static_cast<NodeId>(value);
}

// Lets other Python threads run while this one only reads the file.
class InterpreterReleased {
 public:
  InterpreterReleased() : state_(PyEval_SaveThread()) {}
  ~InterpreterReleased() { PyEval_RestoreThread(state_); }
  InterpreterReleased(const InterpreterReleased&) = delete;
  InterpreterReleased& operator=(const InterpreterReleased&) = delete;

 private:
  PyThreadState* state_;
};

bool knownCodec(const std::string& codec) {
  bool known = true;
  python::guard([&] { python::decodedText("", codec.c_str()); }, [&](const python::CaughtError&) { known = false; });
  return known;
}

// The file's texts through the interpreter's codec for its code page.
class CodecRecoder : public scenegraph::TextRecoder {
 public:
  explicit CodecRecoder(std::string codec) : codec_(std::move(codec)) {}
  bool keeps_valid_utf8() const override { return codec_ == "utf-8"; }
  std::string recode(std::string_view bytes) const override {
    return python::utf8(python::decodedText(bytes, codec_.c_str()).get());
  }

 private:
  std::string codec_;
};

// The codec of a file's code page, as the interpreter names it (utf-8 for one it does not know).
std::string codecOf(const mayascene::Scene& scene) {
  std::string codec = mayascene::codec_for_codeset(scene.codeset);
  return knownCodec(codec) ? codec : "utf-8";
}

// getAttr's answer; a text left in the file (over the cap on stored values) is read from it now.
Ref answer(const Graph& graph, const scenegraph::AttributeValue& found) {
  if (!found.value || found.value->kind != mayascene::Value::Kind::Span) return attributeValue(found.value);
  const mayascene::Scene& scene = graph.scene(graph.file_of(found.node));
  std::string bytes;
  try {
    bytes = mayascene::read_span(scene, *found.value);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& failure) {
    PyErr_SetString(PyExc_IOError, failure.what());
    throw python::Error();
  }
  return python::decodedText(bytes, codecOf(scene).c_str());
}

// ---- methods --------------------------------------------------------------------------------

PyObject* initialise(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return python::entry([&]() -> Ref {
    static const char* names[] = {nullptr};
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, ":Graph", keywords(names))) throw python::Error();
    auto graph = std::make_unique<Graph>();
    Ref capsule = python::require(PyCapsule_New(graph.get(), kCapsuleName, destroyGraph));
    graph.release();
    python::setAttribute(self, kGraphAttribute, capsule);
    return Ref::borrow(Py_None);
  });
}

PyObject* addFile(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"path", "namespace", "prefix", "reference_node", nullptr};
    PyObject* path = nullptr;
    PyObject* ns = nullptr;
    PyObject* prefix = nullptr;
    PyObject* node = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|OOO:add_file", keywords(names), &path, &ns, &prefix, &node)) {
      throw python::Error();
    }
    scenegraph::FileOptions options;
    if (ns != nullptr) options.ns = textArgument(ns, "namespace");
    if (prefix != nullptr) options.prefix = textArgument(prefix, "prefix");
    if (node != nullptr) options.reference_node = textArgument(node, "reference_node");
    const std::string file = python::fileSystemPath(path);
    const char* cap = std::getenv("VANALYZER_MAX_VALUE_BYTES");
    const std::optional<std::uint64_t> max_value_bytes = mayascene::max_value_bytes_setting(cap);
    if (!max_value_bytes) {
      PyErr_Format(PyExc_ValueError, "VANALYZER_MAX_VALUE_BYTES must be a whole number of bytes (0: no cap), not '%s'", cap);
      throw python::Error();
    }
    mayascene::ReadOptions read_options;
    read_options.max_value_bytes = *max_value_bytes;
    mayascene::Scene scene;
    try {
      InterpreterReleased released;
      scene = mayascene::read_file(file, read_options);
    } catch (const mayascene::ParseError& failure) {
      raiseParseError(failure);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& failure) {
      PyErr_SetString(PyExc_IOError, failure.what());
      throw python::Error();
    }
    const CodecRecoder recoder(codecOf(scene));
    return python::integer(graph.add_scene(std::move(scene), std::move(options), &recoder));
  });
}

PyObject* fileCount(PyObject* self, PyObject*) noexcept {
  return withGraph(self, [&](Graph& graph) { return python::integer(graph.file_count()); });
}

Ref referenceRecord(const mayascene::Reference& r) {
  Ref reference = python::newDict();
  python::setItem(reference.get(), "path", text(r.path).get());
  python::setItem(reference.get(), "namespace", text(r.ns).get());
  python::setItem(reference.get(), "prefix", text(r.prefix).get());
  python::setItem(reference.get(), "reference_node", text(r.reference_node).get());
  python::setItem(reference.get(), "type", text(r.type).get());
  python::setItem(reference.get(), "options", text(r.options).get());
  python::setItem(reference.get(), "depth", python::integer(r.depth).get());
  python::setItem(reference.get(), "top_level", python::boolean(r.top_level).get());
  python::setItem(reference.get(), "deferred", python::boolean(r.deferred).get());
  return reference;
}

PyObject* fileInfo(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* fileObject = nullptr;
    if (!PyArg_ParseTuple(args, "O:file_info", &fileObject)) throw python::Error();
    const long long file = python::asInteger(fileObject);
    if (file < 0 || file >= graph.file_count()) {
      PyErr_SetString(PyExc_IndexError, "no file of that id in the graph");
      throw python::Error();
    }
    const mayascene::Scene& s = graph.scene(static_cast<int>(file));
    const scenegraph::FileOptions& options = graph.options(static_cast<int>(file));
    Ref d = python::newDict();
    python::setItem(d.get(), "path", text(s.file).get());
    python::setItem(d.get(), "format", text(s.format).get());
    python::setItem(d.get(), "maya_version", text(s.maya_version).get());
    python::setItem(d.get(), "codeset", text(s.codeset).get());
    python::setItem(d.get(), "namespace", text(options.ns).get());
    python::setItem(d.get(), "prefix", text(options.prefix).get());
    python::setItem(d.get(), "reference_node", text(options.reference_node).get());
    Ref requirements = python::newList();
    for (const mayascene::Requirement& r : s.requires_) {
      python::append(requirements.get(),
                     python::tuple(text(r.plugin), text(r.version), textList(r.node_types), textList(r.data_types)).get());
    }
    python::setItem(d.get(), "requires", requirements.get());
    Ref info = python::newList();
    for (const auto& i : s.file_info) python::append(info.get(), python::tuple(text(i.first), text(i.second)).get());
    python::setItem(d.get(), "file_info", info.get());
    Ref references = python::newList();
    for (const mayascene::Reference& r : s.references) python::append(references.get(), referenceRecord(r).get());
    python::setItem(d.get(), "references", references.get());
    Ref longValues = python::newList();
    for (const mayascene::LongValue& l : s.long_values) {
      python::append(longValues.get(), python::tuple(text(l.where), python::integer(static_cast<long long>(l.length)),
                                                     python::boolean(l.kept)).get());
    }
    python::setItem(d.get(), "long_values", longValues.get());
    return d;
  });
}

PyObject* applyReferenceEdits(PyObject* self, PyObject*) noexcept {
  return withGraph(self, [&](Graph& graph) {
    Ref messages = python::newList();
    for (const scenegraph::EditMessage& message : scenegraph::apply_reference_edits(graph)) {
      python::append(messages.get(), python::tuple(text(message.level), text(message.text)).get());
    }
    return messages;
  });
}

PyObject* find(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* name = nullptr;
    if (!PyArg_ParseTuple(args, "O:find", &name)) throw python::Error();
    const std::string written = textArgument(name, "name");
    const scenegraph::Found found = graph.find(written);
    if (found.ambiguous) scenegraph::several_objects(written.substr(!written.empty() && written[0] == ':' ? 1 : 0));
    return found.node == scenegraph::kNoNode ? Ref::borrow(Py_None) : python::integer(found.node);
  });
}

PyObject* nodes(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"types", nullptr};
    PyObject* types = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "|O:nodes", keywords(names), &types)) throw python::Error();
    const auto wanted = textsArgument(types, "types");
    Ref list = python::newList();
    if (wanted) {
      for (const NodeId node : graph.nodes_of_types(*wanted)) python::append(list.get(), python::integer(node).get());
    } else {
      for (std::size_t node = 0; node < graph.node_count(); ++node) {
        python::append(list.get(), python::integer(static_cast<long long>(node)).get());
      }
    }
    return list;
  });
}

PyObject* name(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* node = nullptr;
    if (!PyArg_ParseTuple(args, "O:name", &node)) throw python::Error();
    return text(graph.name(nodeArgument(graph, node)));
  });
}

PyObject* nodeType(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* name = nullptr;
    if (!PyArg_ParseTuple(args, "O:node_type", &name)) throw python::Error();
    return text(graph.type(graph.require(textArgument(name, "name"))));
  });
}

PyObject* isType(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* node = nullptr;
    PyObject* type = nullptr;
    if (!PyArg_ParseTuple(args, "OO:is_type", &node, &type)) throw python::Error();
    return python::boolean(graph.is_type(nodeArgument(graph, node), textArgument(type, "type")));
  });
}

PyObject* ls(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"types", "patterns", "long", nullptr};
    PyObject* types = nullptr;
    PyObject* patterns = nullptr;
    PyObject* longNames = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "|OOO:ls", keywords(names), &types, &patterns, &longNames)) {
      throw python::Error();
    }
    scenegraph::LsQuery query;
    query.types = textsArgument(types, "types");
    query.patterns = textsArgument(patterns, "patterns").value_or(std::vector<std::string>());
    query.long_names = truthArgument(longNames);
    return textList(scenegraph::list_nodes(graph, query));
  });
}

PyObject* listRelatives(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"targets", "parents", "all_descendents", "shapes", "types", "full_paths", nullptr};
    PyObject* targets = nullptr;
    PyObject* parents = nullptr;
    PyObject* descendants = nullptr;
    PyObject* shapes = nullptr;
    PyObject* types = nullptr;
    PyObject* fullPaths = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|OOOOO:list_relatives", keywords(names), &targets, &parents,
                                     &descendants, &shapes, &types, &fullPaths)) {
      throw python::Error();
    }
    scenegraph::RelativesQuery query;
    query.parents = truthArgument(parents);
    query.all_descendents = truthArgument(descendants);
    query.shapes = truthArgument(shapes);
    query.types = textsArgument(types, "types");
    query.full_paths = truthArgument(fullPaths);
    return textList(scenegraph::list_relatives(graph, *textsArgument(targets, "targets"), query));
  });
}

PyObject* listConnections(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return withGraph(self, [&](Graph& graph) {
    static const char* names[] = {"targets", "sources", "destinations", "plugs", "pairs", "type", nullptr};
    PyObject* targets = nullptr;
    PyObject* sources = nullptr;
    PyObject* destinations = nullptr;
    PyObject* plugs = nullptr;
    PyObject* pairs = nullptr;
    PyObject* type = nullptr;
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, "O|OOOOO:list_connections", keywords(names), &targets, &sources,
                                     &destinations, &plugs, &pairs, &type)) {
      throw python::Error();
    }
    scenegraph::ConnectionQuery query;
    query.sources = sources == nullptr || truthArgument(sources);
    query.destinations = destinations == nullptr || truthArgument(destinations);
    query.plugs = truthArgument(plugs);
    query.pairs = truthArgument(pairs);
    if (type != nullptr && type != Py_None) query.type = textArgument(type, "type");
    return textList(scenegraph::list_connections(graph, *textsArgument(targets, "targets"), query));
  });
}

PyObject* getAttr(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* plug = nullptr;
    if (!PyArg_ParseTuple(args, "O:get_attr", &plug)) throw python::Error();
    return answer(graph, scenegraph::get_attr(graph, textArgument(plug, "plug")));
  });
}

PyObject* value(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* node = nullptr;
    PyObject* attr = nullptr;
    if (!PyArg_ParseTuple(args, "OO:value", &node, &attr)) throw python::Error();
    return answer(graph, scenegraph::get_attr(graph, nodeArgument(graph, node), textArgument(attr, "attribute")));
  });
}

PyObject* multiIndices(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* plug = nullptr;
    if (!PyArg_ParseTuple(args, "O:multi_indices", &plug)) throw python::Error();
    Ref list = python::newList();
    for (const long long index : scenegraph::multi_indices(graph, textArgument(plug, "plug"))) {
      python::append(list.get(), python::integer(index).get());
    }
    return list;
  });
}

PyObject* attributeExists(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* node = nullptr;
    PyObject* attr = nullptr;
    if (!PyArg_ParseTuple(args, "OO:attribute_exists", &node, &attr)) throw python::Error();
    const NodeId id = graph.require(textArgument(node, "node"));
    return python::boolean(scenegraph::attribute_exists(graph, id, textArgument(attr, "attribute")));
  });
}

PyObject* objectExists(PyObject* self, PyObject* args) noexcept {
  return withGraph(self, [&](Graph& graph) {
    PyObject* name = nullptr;
    if (!PyArg_ParseTuple(args, "O:object_exists", &name)) throw python::Error();
    return python::boolean(scenegraph::object_exists(graph, textArgument(name, "name")));
  });
}

template <class Function>
PyCFunction asMethod(Function function) {
  return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

constexpr int kKeywords = METH_VARARGS | METH_KEYWORDS;

PyMethodDef methods[] = {
    {"__init__", asMethod(initialise), kKeywords, nullptr},
    {"add_file", asMethod(addFile), kKeywords,
     "add_file(path, namespace='', prefix='', reference_node='') -> file id: reads a .ma or .mb file into the graph."},
    {"file_count", fileCount, METH_NOARGS, "file_count() -> how many files the graph holds."},
    {"file_info", fileInfo, METH_VARARGS,
     "file_info(file_id) -> dict: path, format, maya_version, codeset, namespace, prefix, reference_node, requires, "
     "file_info, references."},
    {"apply_reference_edits", applyReferenceEdits, METH_NOARGS,
     "apply_reference_edits() -> [(level, message)]: once every file is added, the edits the files store on their "
     "reference nodes (setAttr, connectAttr, parent), the deepest file's first."},
    {"find", find, METH_VARARGS,
     "find(name) -> node id or None; ValueError when several nodes match the name or DAG path."},
    {"nodes", asMethod(nodes), kKeywords, "nodes(types=None) -> [node id]: every node, or those of the types."},
    {"name", name, METH_VARARGS, "name(node_id) -> the node's full name."},
    {"node_type", nodeType, METH_VARARGS, "node_type(name) -> the node's type."},
    {"is_type", isType, METH_VARARGS, "is_type(node_id, type) -> whether the node is of the type or one derived from it."},
    {"ls", asMethod(ls), kKeywords, "ls(types=None, patterns=None, long=False) -> [name], as maya.cmds.ls."},
    {"list_relatives", asMethod(listRelatives), kKeywords,
     "list_relatives(targets, parents=False, all_descendents=False, shapes=False, types=None, full_paths=False) -> [name]."},
    {"list_connections", asMethod(listConnections), kKeywords,
     "list_connections(targets, sources=True, destinations=True, plugs=False, pairs=False, type=None) -> [name]."},
    {"get_attr", getAttr, METH_VARARGS, "get_attr(plug) -> the value, or Maya's default."},
    {"value", value, METH_VARARGS, "value(node_id, attr) -> get_attr of the node's attribute."},
    {"multi_indices", multiIndices, METH_VARARGS, "multi_indices(plug) -> [index] holding a value or a connection."},
    {"attribute_exists", attributeExists, METH_VARARGS, "attribute_exists(node, attr) -> bool."},
    {"object_exists", objectExists, METH_VARARGS, "object_exists(name) -> bool: a node, or node.attr."},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

void setParseErrorClass(PyObject* errorClass) { parseErrorClass = errorClass; }

PyMethodDef* graphMethods() { return methods; }

}  // namespace scenegraph_python
