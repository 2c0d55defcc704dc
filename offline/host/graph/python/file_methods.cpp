// scenegraph.Graph's methods over its files: reading one in, what it says of itself, the edits its
// references store.
#include "file_methods.h"
#include "graph_methods.h"

#include <new>
#include <string>
#include <utility>

#include "graph_binding.h"
#include "python_values.h"
#include "reference_record.h"
#include "scene_reading.h"
#include "scenegraph/reference_edits.h"

namespace scenegraph_python {

using python::Ref;
using scenegraph::Graph;
using scenegraph::NodeId;

namespace {

PyObject* parseErrorClass = nullptr;

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

}  // namespace

void setParseErrorClass(PyObject* errorClass) { parseErrorClass = errorClass; }

PyObject* initialise(PyObject* self, PyObject* args, PyObject* kwargs) noexcept {
  return python::entry([&]() -> Ref {
    static const char* names[] = {nullptr};
    if (!PyArg_ParseTupleAndKeywords(args, kwargs, ":Graph", keywords(names))) throw python::Error();
    attachGraph(self);
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
    mayascene::Scene scene;
    try {
      scene = mayascene_python::readScene(python::fileSystemPath(path));
    } catch (const python::Error&) {
      throw;
    } catch (const mayascene::ParseError& failure) {
      mayascene_python::raiseParseError(parseErrorClass, failure);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& failure) {
      PyErr_SetString(PyExc_IOError, failure.what());
      throw python::Error();
    }
    const CodecRecoder recoder(mayascene_python::sceneCodec(scene));
    return python::integer(graph.add_scene(std::move(scene), std::move(options), &recoder));
  });
}

PyObject* fileCount(PyObject* self, PyObject*) noexcept {
  return withGraph(self, [&](Graph& graph) { return python::integer(graph.file_count()); });
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
    for (const mayascene::Reference& r : s.references) {
      python::append(references.get(), mayascene_python::referenceRecord(r, text).get());
    }
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

}  // namespace scenegraph_python
