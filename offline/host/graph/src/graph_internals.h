// The graph's private records, shared by its source files: graph.cpp (files, nodes, links),
// node_names.cpp (the name table and path matching), display_names.cpp, connections.cpp.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "mayascene/dag_path_text.h"
#include "scenegraph/graph.h"

namespace scenegraph {

struct Graph::File {
  mayascene::Scene scene;
  FileOptions options;
  std::string frame;           // what each component of a name written in the file is prefixed with
  std::size_t read_connections = 0;  // those the reader made (with its file's attribute names); edits follow
  // The file's own graph nodes follow one another from `first`, passing over the nodes merged into
  // another file's; skips[j] is how many own nodes come before the j-th merged one.
  NodeId first = 0;
  std::vector<int> skips;
  int local(NodeId node) const;  // the index in scene.nodes of one of the file's own nodes
};

// 16 bytes a node; its file and its index there follow from where in the graph it is (File::first),
// its name's hash from its name (Graph::hash_of), as the name table needs it.
struct Graph::NodeRecord {
  NodeId parent = kNoNode;
  NodeId first_child = kNoNode;   // the child linked last; its siblings, linked before it, follow
  NodeId next_sibling = kNoNode;
  std::uint32_t type : 31;     // index in types_
  std::uint32_t rooted : 1;    // named in the root namespace whatever its file's frame
  NodeRecord() : type(0), rooted(0) {}
};

// Files a graph holds at most.
constexpr int kMaxFiles = 65535;

struct Graph::TypeRecord {
  std::string name;
  std::vector<std::uint32_t> ancestry;  // the type itself first, then its bases
};

struct Graph::LinkState {
  struct ConnectionRecord {
    int file;                  // whose frame the plugs are written in
    int index;                 // in that file's scene.connections
    NodeId source = kNoNode;
    NodeId destination = kNoNode;
  };
  std::vector<NodeId> pending_parents;          // nodes whose written parent is not in the graph yet
  std::vector<ConnectionRecord> connections;    // graph order
  std::vector<std::size_t> pending_connections; // connections with an end not in the graph yet

  // Caches, rebuilt on demand after changed().
  bool connections_indexed = false;
  std::vector<std::uint32_t> connection_offsets;  // node -> first entry; one more than nodes
  std::vector<std::uint32_t> connection_entries;  // connection indices
  std::vector<std::uint32_t> unique_depth;        // node -> components of its display name; 0 unknown
};

// A node's display name is its full path.
constexpr std::uint32_t kFullPath = 0xFFFFFFFFu;

// The hash of a name, fed piece by piece so that a name held in parts hashes as the whole text.
class NameHash {
 public:
  void add(std::string_view text) {
    for (const char c : text) {
      value_ ^= static_cast<unsigned char>(c);
      value_ *= 16777619u;
    }
  }
  std::uint32_t value() const { return value_; }

 private:
  std::uint32_t value_ = 2166136261u;
};

// Open addressing over node ids, keyed by the nodes' name hashes; several nodes may share a name.
class Graph::Names {
 public:
  explicit Names(const Graph& graph) : graph_(graph) {}
  void insert(NodeId node);
  void reserve(std::size_t more);  // room for `more` names beyond those held, made at once
  // Every node of the run of slots where a name of this hash would be: the nodes of that name and
  // others; the visitor compares the names (cheaper than hashing each node's name again, as a
  // name that differs mostly differs in its length or its first bytes).
  template <class Visit>
  void visit(std::uint32_t hash, Visit&& visit) const {
    if (slots_.empty()) return;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      const NodeId node = slots_[i];
      if (node == kNoNode) return;
      visit(node);
    }
  }

 private:
  void grow(std::size_t slots);
  const Graph& graph_;
  std::vector<NodeId> slots_;
  std::size_t count_ = 0;
};

using mayascene::last_component;
using mayascene::without_root;

}  // namespace scenegraph
