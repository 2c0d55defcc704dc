// The method table of scenegraph.Graph. Each method reads its arguments, asks the graph and builds
// only the objects it returns (file_methods.cpp, node_methods.cpp, attribute_methods.cpp).
#include "graph_methods.h"

#include "attribute_batch.h"
#include "attribute_methods.h"
#include "file_methods.h"
#include "node_methods.h"

namespace scenegraph_python {

namespace {

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
    {"attribute_values", attributeValues, METH_VARARGS,
     "attribute_values(nodes, [(names, default)]) -> [[value]]: for each group and each node, get_attr of the first "
     "of the group's attribute names that answers, else the group's default."},
    {"multi_indices", multiIndices, METH_VARARGS, "multi_indices(plug) -> [index] holding a value or a connection."},
    {"attribute_exists", attributeExists, METH_VARARGS, "attribute_exists(node, attr) -> bool."},
    {"object_exists", objectExists, METH_VARARGS, "object_exists(name) -> bool: a node, or node.attr."},
    {nullptr, nullptr, 0, nullptr},
};

}  // namespace

PyMethodDef* graphMethods() { return methods; }

}  // namespace scenegraph_python
