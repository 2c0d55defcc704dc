// Scene model built by the scene readers (Maya ASCII and Maya Binary): what the offline command
// layer answers from.
// All texts are bytes in the scene's code page (see Scene::codeset); decoding is left to the caller.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "mayascene/attributes.h"
#include "mayascene/text_arena.h"

namespace mayascene {

struct DynamicAttribute {
  std::string short_name;
  std::string long_name;
  std::string type;           // -at or -dt value
  bool has_default = false;
  Value default_value;
};

// Gives attr the default Maya holds for it: `given` (the file's -dv) as its type takes it, else
// false, 0 or 0.0 for the numeric types; the other types have none unless the file gives one.
void set_default(DynamicAttribute* attr, const double* given);

// A node's UUID (`rename -uid`, or the binary form's 16 bytes): kept in 16 bytes when written as
// Maya writes it ("84384D92-4957-42CC-B4F8-639DEF9DBFEE"), as written otherwise.
class Uuid {
 public:
  Uuid() = default;
  Uuid(const Uuid& other);
  Uuid& operator=(const Uuid& other);
  Uuid(Uuid&&) = default;
  Uuid& operator=(Uuid&&) = default;
  Uuid& operator=(std::string_view text);
  std::string text() const;
  bool empty() const;

 private:
  // All zero (and no other_) when there is none; the all-zero UUID itself is kept in other_.
  std::array<unsigned char, 16> bytes_{};
  std::unique_ptr<std::string> other_;
};

// The nodes' UUIDs by node index, held apart from the nodes: a scene whose nodes have none (a
// generated one) pays nothing for them. A deque, so that growing it never copies what it holds.
class NodeUuids {
 public:
  void set(int index, std::string_view text);
  std::string text(int index) const;  // "" when the node has none

 private:
  std::deque<Uuid> by_node_;
};

// A node's dynamic attributes (addAttr) in one pointer, allocated only for a node that has some:
// most nodes have none. Copies share the list until one of them changes it (a reference edit reads
// its node's attributes through a copy). A node with many of them keeps an index by name, so that
// naming one costs the same for the ten-thousandth as for the first.
class DynamicAttributes {
 public:
  DynamicAttributes() = default;
  DynamicAttributes(const DynamicAttributes& other);
  DynamicAttributes& operator=(const DynamicAttributes& other);
  DynamicAttributes(DynamicAttributes&& other) noexcept : store_(other.store_) { other.store_ = nullptr; }
  DynamicAttributes& operator=(DynamicAttributes&& other) noexcept;
  ~DynamicAttributes();

  void push_back(DynamicAttribute attribute);
  const std::vector<DynamicAttribute>& list() const;
  operator const std::vector<DynamicAttribute>&() const { return list(); }
  std::size_t size() const { return store_ ? store_->list.size() : 0; }
  bool empty() const { return size() == 0; }
  const DynamicAttribute& operator[](std::size_t k) const { return store_->list[k]; }
  const DynamicAttribute* begin() const { return store_ ? store_->list.data() : nullptr; }
  const DynamicAttribute* end() const { return store_ ? store_->list.data() + store_->list.size() : nullptr; }
  // Changes each attribute in place (its value, never its names): this copy becomes its own. Reading
  // never copies, whether the attributes are reached through a const path or not.
  template <typename Change>
  void change_each(Change change) {
    if (store_ == nullptr) return;
    own();
    for (DynamicAttribute& attribute : store_->list) change(attribute);
  }
  // The first attribute whose short or long name is `name`; nullptr when none.
  const DynamicAttribute* find(std::string_view name) const { return first(name, false); }
  // The first attribute whose long name is `name`; nullptr when none.
  const DynamicAttribute* find_long(std::string_view name) const { return first(name, true); }

 private:
  struct Firsts {
    std::uint32_t named = UINT32_MAX;  // by short or long name
    std::uint32_t long_named = UINT32_MAX;
  };
  struct Store {
    std::atomic<std::size_t> holders{1};
    std::vector<DynamicAttribute> list;
    std::unordered_map<std::string, Firsts> index;  // built once the list is long enough to need it
  };
  const DynamicAttribute* first(std::string_view name, bool long_only) const;
  void own();
  void release();
  void index_entry(std::uint32_t position);

  Store* store_ = nullptr;  // one pointer a node: most nodes have none, and there are millions
};

// Its texts live in its scene's arena (Scene::texts): set them with scene.texts.keep(...).
struct Node {
  Text name;
  Text type;                  // interned: scene.texts.intern(...)
  Text parent_name;           // the -p argument as written ("" when none)
  int parent = -1;            // index of the parent node when it is in this file
  bool dag = false;           // a node of the DAG (its full path: dag_path)
  bool shared = false;        // created with -s
  bool implicit = false;      // never created in the file (a default node Maya always has)
  bool locked = false;
  // Attribute values keyed by the attribute path with long names where the name is known
  // ("fileTextureName", "fileNames[0]", "renderLayerInfo[0]"). Set with attrs.set(path, value).
  Attributes attrs;
  DynamicAttributes dynamic;
};

// A connection's plugs, "node.attr" with the leading root-namespace ':' removed, both in one text
// kept in its scene's arena: a connection is one pointer, its bytes end to end with the others'
// (a scene as Maya saves it holds a few million connections). It lives as long as that arena.
class Connection {
 public:
  Connection() = default;
  Connection(TextArena& texts, std::string_view source, std::string_view destination);
  std::string_view source() const {
    const std::string_view plugs = plugs_.view();
    return plugs.substr(0, plugs.find('\0'));
  }
  std::string_view destination() const {
    const std::string_view plugs = plugs_.view();
    const std::size_t split = plugs.find('\0');
    return split == std::string_view::npos ? std::string_view() : plugs.substr(split + 1);
  }
  // The plugs' new text joins the arena; the one it replaces stays there, unused.
  void set_source(TextArena& texts, std::string_view source) { *this = Connection(texts, source, destination()); }
  void set_destination(TextArena& texts, std::string_view destination) {
    *this = Connection(texts, source(), destination);
  }

 private:
  Text plugs_;  // source, '\0', destination
};

struct Requirement {
  std::string plugin;
  std::string version;
  std::vector<std::string> node_types;
  std::vector<std::string> data_types;
};

struct Reference {
  std::string path;           // as written
  std::string ns;
  std::string prefix;         // -rpr, the renaming prefix of files that predate namespaces
  std::string reference_node;
  std::string type;           // -typ
  std::string options;        // -op
  int depth = 0;              // -rdi N; 0 for a `file -r` line
  bool top_level = false;     // a `file -r` line
  bool deferred = false;      // -dr 1
};

// One reference edit as the referencing file stores it: the edit's code (0 parent, 1 addAttr,
// 2 setAttr, 3 connectAttr, 4 deleteAttr, 5 a connection through placeholders; others are kept as
// read) and its fields as written (for code 5 the first field is its sub-code, "0" to "4").
struct ReferenceEdit {
  int code = 0;
  std::vector<std::string> fields;
};

// The edits made against one reference node (the holder itself or a reference nested in it).
struct ReferenceEditGroup {
  std::string reference_node;
  std::vector<ReferenceEdit> edits;
};

// The edits stored on one reference node of the file, in file order.
struct ReferenceEdits {
  std::string holder;         // the reference node whose attribute holds them
  std::string owner;          // the owner reference node the edits name first
  std::vector<ReferenceEditGroup> groups;
  std::size_t unread = 0;     // edits (or groups) that did not parse and were passed over
};

struct Relationship {
  std::string kind;
  std::vector<std::string> members;
};

// A value longer than the cap on a single stored value (ReadOptions in reader.h).
struct LongValue {
  std::string where;          // "node.attr", or the statement that held it
  std::uint64_t length = 0;   // its length in bytes
  bool kept = false;          // kept in the file (a Span value, read again when asked), else not kept
};

// Nodes and connections sit in deques: they never move while a file is read, and growing one
// never holds two copies of it.
struct Scene {
  std::string file;           // the path it was read from
  std::string format;         // "mayaAscii" or "mayaBinary" (read_file, read_binary)
  std::string maya_version;   // from "//Maya ASCII <v> scene" or the VERS header chunk
  std::string codeset;        // from "//Codeset: <c>" ("" when absent); a .mb's: "UTF-8" or its fallback
  std::string required_maya;  // requires maya "<v>"
  std::vector<Requirement> requires_;
  std::map<std::string, std::string> units;  // linear, angle, time
  std::vector<std::pair<std::string, std::string>> file_info;
  std::vector<Reference> references;
  std::vector<ReferenceEdits> reference_edits;
  TextArena texts;            // the nodes' names, types and parent names; the connections' plugs
  std::deque<Node> nodes;     // file order; implicit default nodes last
  NodeUuids uuids;            // by index into nodes
  std::deque<Connection> connections;
  std::vector<Relationship> relationships;
  std::vector<LongValue> long_values;
};

// The full DAG path of a node ("|group|shape"; "" outside the DAG), computed from the parent
// links on each call so that no node keeps a copy of its ancestors' names. A top node whose
// parent lies in another file starts with that parent's path as written.
std::string dag_path(const Scene& scene, int index);

// Nodes by name, and the lookup of a name as a file writes it: a node name, a partial DAG path
// ("grp|shape") or a full one ("|grp|shape"); a leading root-namespace ':' is ignored. Paths are
// matched by walking parent links, never by comparing stored path texts.
// Open addressing over node indices keyed by a hash of their names: 16 bytes a node.
class NameIndex {
 public:
  void add(std::string_view name, int index);
  void remove(std::string_view name, int index);
  // The last created match, or -1.
  int find(const Scene& scene, std::string_view written) const;

 private:
  struct Slot {
    std::uint32_t hash = 0;
    int index = -1;  // -1 empty, -2 removed
  };
  void grow();
  std::vector<Slot> slots_;
  std::size_t used_ = 0;  // slots filled or removed
};

// True when the DAG path of the node ends with the components of `partial` (and, for an absolute
// path, has no other ancestors).
bool dag_path_matches(const Scene& scene, int index, std::string_view partial);

}  // namespace mayascene
