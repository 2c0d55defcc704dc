// The host's scene graph: every node of the opened scene and of the references loaded into it,
// named as Maya names them (namespaces and renaming prefixes applied), with the indexes that
// Maya's commands need: names and DAG paths (walked along parent links, never stored), node
// types with their derived types, children, connections per node, attribute values with Maya's
// defaults. Texts are UTF-8 throughout; a file in another code page is recoded as it is added.
//
// The commands' answers (graph_queries.h) are built on this class; reference edits are in
// reference_edits.h.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mayascene/scene.h"

namespace scenegraph {

using NodeId = int;
constexpr NodeId kNoNode = -1;

// How a file's nodes are named in the graph: "<ns>:<name>" (nested namespaces joined with ':'),
// "<prefix>_<name>" for a renaming prefix, the name itself for the root namespace.
// reference_node is the graph name of the reference node that loads the file ("" for the scene).
struct FileOptions {
  std::string ns;
  std::string prefix;
  std::string reference_node;
};

// Turns one text of a file from the file's code page into UTF-8. Texts of plain ASCII are never
// handed to it; nor, when keeps_valid_utf8() (the file is UTF-8), texts that are valid UTF-8.
class TextRecoder {
 public:
  virtual ~TextRecoder() = default;
  virtual bool keeps_valid_utf8() const = 0;
  virtual std::string recode(std::string_view bytes) const = 0;
};

// A name that names no node, or several where one is needed; the message is Maya's.
class NameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
[[noreturn]] void no_object(std::string_view name);
[[noreturn]] void several_objects(std::string_view name);

// A name as asked: the node it names, or none, or several.
struct Found {
  NodeId node = kNoNode;
  bool ambiguous = false;
};

// "node.attr[0].child" -> ("node", "attr[0].child"); a DAG path's '|' parts stay in the node part.
std::pair<std::string_view, std::string_view> split_plug(std::string_view plug);

class Graph {
 public:
  Graph();
  ~Graph();
  Graph(const Graph&) = delete;
  Graph& operator=(const Graph&) = delete;

  // Reads a scene file (mayascene::read_file: ParseError, std::runtime_error) and adds it.
  int add_file(const std::string& path, FileOptions options, const TextRecoder* recoder = nullptr);
  // Adds a scene already read; returns its file id (0 for the first).
  int add_scene(mayascene::Scene scene, FileOptions options, const TextRecoder* recoder = nullptr);

  int file_count() const;
  const mayascene::Scene& scene(int file) const;
  const FileOptions& options(int file) const;

  // ---- nodes ------------------------------------------------------------------------------------
  std::size_t node_count() const;
  // A node name, a partial DAG path ("grp|shape") or a full one ("|grp|shape"), as the commands
  // are asked (a leading ':' is the root namespace).
  Found find(std::string_view name) const;
  // Every node a name or DAG path names (none, one or several), in graph order.
  std::vector<NodeId> nodes_named(std::string_view name) const;
  // True when the node's DAG path ends with the partial path (is it, for a full path).
  bool matches_path(NodeId node, std::string_view partial) const { return path_matches(node, partial); }
  // find() that raises NameError for no node or several.
  NodeId require(std::string_view name) const;
  std::string name(NodeId node) const;  // the full node name, namespace included
  const std::string& type(NodeId node) const;
  bool is_type(NodeId node, std::string_view type) const;  // the type or one derived from it
  bool is_dag(NodeId node) const;
  bool is_shape(NodeId node) const;
  int file_of(NodeId node) const;
  const mayascene::Node& model(NodeId node) const;  // the node as its file wrote it
  mayascene::Node& model(NodeId node);
  // The full DAG path ("|grp|shape"; "" outside the DAG). A top node whose parent is not in the
  // graph starts with that parent's name as written.
  std::string path(NodeId node) const;
  // Maya's way of naming a node: DAG nodes by the shortest partial path that no other DAG node
  // ends with (the full path when even that is shared), or by the full path.
  std::string display_name(NodeId node, bool long_names = false) const;
  // Nodes of any of the types (derived types included), in graph order.
  std::vector<NodeId> nodes_of_types(const std::vector<std::string>& types) const;

  // ---- DAG -------------------------------------------------------------------------------------
  NodeId parent(NodeId node) const;
  // The written name of a parent that is not in the graph ("" when none), in the graph's frame.
  std::string outside_parent(NodeId node) const;
  std::vector<NodeId> children(NodeId node) const;
  // Re-parents a node (a reference edit); false when that would make a cycle.
  bool set_parent(NodeId node, NodeId parent);

  // ---- connections -----------------------------------------------------------------------------
  struct PlugEnd {
    NodeId node;                 // kNoNode when the node is not in the graph
    std::string node_text;       // the node as written, in the graph's frame, when it is not in the graph
    std::string_view attr;       // long attribute names where known
  };
  struct Connection {
    PlugEnd source;
    PlugEnd destination;
  };
  // The connections that touch a node, in graph order.
  std::vector<Connection> connections_of(NodeId node) const;
  // Adds a connection made by a reference edit: plugs written in the frame of `file`.
  void add_connection(int file, std::string_view source, std::string_view destination);

  // ---- names in a file's frame -----------------------------------------------------------------
  // The name as the graph spells it: each DAG path component of a name written in `file` gets
  // that file's namespace or prefix; a leading ':' names the root namespace.
  std::string qualify(int file, std::string_view written) const;
  // The node a name written in `file` names: its own nodes first, then the shared and default
  // nodes of the root namespace that the file's shared nodes merged into.
  Found resolve(int file, std::string_view written) const;

  // Where the graph's structure changed (a parent, a connection, a node added): the caches of
  // names and connections are rebuilt on the next question.
  void changed();

 private:
  struct File;
  struct NodeRecord;
  struct TypeRecord;
  struct LinkState;
  class Names;
  friend class Names;

  // node_names.cpp
  std::uint32_t hash_of(NodeId node) const;
  bool name_equals(NodeId node, std::string_view text) const;
  void append_name(NodeId node, std::string* out) const;
  bool path_matches(NodeId node, std::string_view partial) const;
  void candidates(std::string_view full_name, std::vector<NodeId>* out) const;
  Found find_in_graph(std::string_view name, bool most_recent) const;
  // graph.cpp
  std::uint32_t intern_type(std::string_view type);
  void link_parent(NodeId child, NodeId parent);
  void unlink_parent(NodeId child);
  // Links what waits for a parent or a connection end; the last `fresh` connection records are
  // new ones, each still waiting for both ends.
  void link_pending(std::size_t fresh = 0);
  void resolve_connection(std::size_t index);
  void build_connection_index() const;
  PlugEnd plug_end(int file, std::string_view plug, NodeId node) const;
  // display_names.cpp
  void compute_unique_depths(const std::vector<NodeId>& group) const;

  std::vector<std::unique_ptr<File>> files_;
  std::vector<NodeRecord> nodes_;
  std::vector<TypeRecord> types_;
  std::unordered_map<std::string, std::uint32_t> type_ids_;
  std::unique_ptr<Names> names_;
  std::unique_ptr<LinkState> link_;  // pending links and caches, rebuilt on demand
};

}  // namespace scenegraph
