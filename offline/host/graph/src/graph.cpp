// Files and nodes: adding a scene file, naming its nodes in the graph, merging its shared nodes
// into the root's, linking parents and connections written across files, node types.
#include <algorithm>
#include <optional>
#include <stdexcept>

#include "graph_internals.h"
#include "mayascene/names.h"
#include "mayascene/reader.h"
#include "text_recoding.h"

namespace scenegraph {

namespace {

std::string frame_of(const FileOptions& options) {
  std::string frame;
  std::string_view ns = options.ns;
  while (!ns.empty() && ns.front() == ':') ns.remove_prefix(1);
  while (!ns.empty() && ns.back() == ':') ns.remove_suffix(1);
  if (!ns.empty()) {
    frame += ns;
    frame += ':';
  }
  if (!options.prefix.empty()) {
    frame += options.prefix;
    frame += '_';
  }
  return frame;
}

}  // namespace

Graph::Graph() : names_(std::make_unique<Names>(*this)), link_(std::make_unique<LinkState>()) {}

Graph::~Graph() = default;

int Graph::file_count() const { return static_cast<int>(files_.size()); }

std::size_t Graph::node_count() const { return nodes_.size(); }

const mayascene::Scene& Graph::scene(int file) const { return files_.at(static_cast<std::size_t>(file))->scene; }

const FileOptions& Graph::options(int file) const { return files_.at(static_cast<std::size_t>(file))->options; }

int Graph::file_of(NodeId node) const {
  // Each file's own nodes follow the nodes of the files added before it.
  const auto after = std::upper_bound(files_.begin(), files_.end(), node,
                                      [](NodeId n, const std::unique_ptr<File>& f) { return n < f->first; });
  return static_cast<int>(after - files_.begin()) - 1;
}

int Graph::File::local(NodeId node) const {
  const int own = node - first;
  return own + static_cast<int>(std::upper_bound(skips.begin(), skips.end(), own) - skips.begin());
}

const mayascene::Node& Graph::model(NodeId node) const {
  const File& file = *files_[static_cast<std::size_t>(file_of(node))];
  return file.scene.nodes[static_cast<std::size_t>(file.local(node))];
}

mayascene::Node& Graph::model(NodeId node) {
  File& file = *files_[static_cast<std::size_t>(file_of(node))];
  return file.scene.nodes[static_cast<std::size_t>(file.local(node))];
}

int Graph::add_file(const std::string& path, FileOptions options, const TextRecoder* recoder) {
  return add_scene(mayascene::read_file(path), std::move(options), recoder);
}

int Graph::add_scene(mayascene::Scene scene, FileOptions options, const TextRecoder* recoder) {
  if (static_cast<int>(files_.size()) >= kMaxFiles) {
    throw std::length_error("a scene graph holds at most " + std::to_string(kMaxFiles) + " files");
  }
  if (recoder != nullptr) recode_scene(&scene, *recoder);
  const int file = static_cast<int>(files_.size());
  auto record = std::make_unique<File>();
  record->scene = std::move(scene);
  record->frame = frame_of(options);
  record->options = std::move(options);
  files_.push_back(std::move(record));
  File& f = *files_.back();
  const bool root_frame = f.frame.empty();

  // Local node index -> graph node (a merged shared node: the node it joined), while linking. A
  // file in the root namespace merges no node: its nodes follow one another from `first`.
  const NodeId first = static_cast<NodeId>(nodes_.size());
  f.first = first;
  std::vector<NodeId> global(root_frame ? 0 : f.scene.nodes.size(), kNoNode);
  const auto graph_id = [&](std::size_t i) { return root_frame ? first + static_cast<NodeId>(i) : global[i]; };
  // The lists sized once, so that no grown-out copy is left free among what is kept.
  nodes_.reserve(nodes_.size() + f.scene.nodes.size());
  names_->reserve(f.scene.nodes.size());
  link_->connections.reserve(link_->connections.size() + f.scene.connections.size());
  std::vector<NodeId> hits;
  // The file's types are interned: most nodes have the type of the one before.
  mayascene::Text last_type;
  std::optional<std::uint32_t> last_type_id;
  for (std::size_t i = 0; i < f.scene.nodes.size(); ++i) {
    const mayascene::Node& node = f.scene.nodes[i];
    const bool rooted = root_frame || node.shared || node.implicit;
    if (!root_frame && rooted) {
      // "Shared across files: only created when it does not exist yet" (createNode -s), and the
      // default nodes every scene has: a referenced file's copy is the root's node.
      candidates(node.name, &hits);
      NodeId existing = kNoNode;
      for (const NodeId hit : hits) {
        if (nodes_[static_cast<std::size_t>(hit)].rooted) existing = hit;
      }
      if (existing != kNoNode) {
        global[i] = existing;
        f.skips.push_back(static_cast<int>(nodes_.size()) - first);
        continue;
      }
    }
    NodeRecord r;
    r.rooted = rooted;
    if (!last_type_id || !node.type.same(last_type)) {
      last_type = node.type;
      last_type_id = intern_type(node.type);
    }
    r.type = *last_type_id;
    const NodeId id = static_cast<NodeId>(nodes_.size());
    nodes_.push_back(r);
    names_->insert(id);
    if (!root_frame) global[i] = id;
  }
  for (std::size_t i = 0; i < f.scene.nodes.size(); ++i) {
    const NodeId id = graph_id(i);
    if (id < first) continue;  // merged into a node of another file
    const mayascene::Node& node = f.scene.nodes[i];
    if (node.parent >= 0) {
      const NodeId parent = graph_id(static_cast<std::size_t>(node.parent));
      if (parent != id) link_parent(id, parent);
    } else if (!node.parent_name.empty()) {
      link_->pending_parents.push_back(id);
    }
  }
  f.read_connections = f.scene.connections.size();
  for (std::size_t c = 0; c < f.scene.connections.size(); ++c) link_->connections.push_back({file, static_cast<int>(c)});
  link_pending(f.scene.connections.size());
  return file;
}

std::uint32_t Graph::intern_type(std::string_view written) {
  const std::string type(written);
  const auto found = type_ids_.find(type);
  if (found != type_ids_.end()) return found->second;
  std::vector<std::string> chain = mayascene::type_ancestry(type);
  if (chain.empty() || chain.front() != type) chain.insert(chain.begin(), type);
  // From the root down, so that each new record's bases already have theirs.
  for (std::size_t k = chain.size(); k-- > 0;) {
    if (type_ids_.count(chain[k]) != 0) continue;
    TypeRecord record;
    record.name = chain[k];
    for (std::size_t j = k; j < chain.size(); ++j) record.ancestry.push_back(j == k ? static_cast<std::uint32_t>(types_.size()) : type_ids_.at(chain[j]));
    type_ids_.emplace(chain[k], static_cast<std::uint32_t>(types_.size()));
    types_.push_back(std::move(record));
  }
  return type_ids_.at(type);
}

const std::string& Graph::type(NodeId node) const { return types_[nodes_[static_cast<std::size_t>(node)].type].name; }

bool Graph::is_type(NodeId node, std::string_view type) const {
  const auto wanted = type_ids_.find(std::string(type));
  if (wanted == type_ids_.end()) return false;
  const std::vector<std::uint32_t>& ancestry = types_[nodes_[static_cast<std::size_t>(node)].type].ancestry;
  return std::find(ancestry.begin(), ancestry.end(), wanted->second) != ancestry.end();
}

bool Graph::is_dag(NodeId node) const { return model(node).dag; }

bool Graph::is_shape(NodeId node) const {
  if (is_type(node, "shape")) return true;
  // A plug-in type the table does not know: a leaf under a transform is its shape.
  return types_[nodes_[static_cast<std::size_t>(node)].type].ancestry.size() == 1 &&
         nodes_[static_cast<std::size_t>(node)].first_child == kNoNode;
}

std::vector<NodeId> Graph::nodes_of_types(const std::vector<std::string>& types) const {
  std::vector<std::uint32_t> wanted;
  for (const std::string& type : types) {
    const auto found = type_ids_.find(type);
    if (found != type_ids_.end()) wanted.push_back(found->second);
  }
  std::vector<NodeId> out;
  if (wanted.empty()) return out;
  // One pass over the node records (16 bytes each) instead of a node list kept for every type.
  std::vector<char> match(types_.size(), 0);
  for (std::size_t t = 0; t < types_.size(); ++t) {
    const std::vector<std::uint32_t>& ancestry = types_[t].ancestry;
    match[t] = std::any_of(ancestry.begin(), ancestry.end(), [&](std::uint32_t id) {
      return std::find(wanted.begin(), wanted.end(), id) != wanted.end();
    });
  }
  for (std::size_t n = 0; n < nodes_.size(); ++n) {
    if (match[nodes_[n].type]) out.push_back(static_cast<NodeId>(n));
  }
  return out;
}

// ---- DAG ---------------------------------------------------------------------------------------

NodeId Graph::parent(NodeId node) const { return nodes_[static_cast<std::size_t>(node)].parent; }

std::vector<NodeId> Graph::children(NodeId node) const {
  std::vector<NodeId> out;
  for (NodeId c = nodes_[static_cast<std::size_t>(node)].first_child; c != kNoNode;
       c = nodes_[static_cast<std::size_t>(c)].next_sibling) {
    out.push_back(c);
  }
  std::reverse(out.begin(), out.end());  // the newest child is held first
  return out;
}

void Graph::link_parent(NodeId child, NodeId parent) {
  NodeRecord& c = nodes_[static_cast<std::size_t>(child)];
  NodeRecord& p = nodes_[static_cast<std::size_t>(parent)];
  c.parent = parent;
  c.next_sibling = p.first_child;
  p.first_child = child;
  model(parent).dag = true;
  model(child).dag = true;
}

void Graph::unlink_parent(NodeId child) {
  NodeRecord& c = nodes_[static_cast<std::size_t>(child)];
  if (c.parent == kNoNode) return;
  NodeRecord& p = nodes_[static_cast<std::size_t>(c.parent)];
  // Only an edit re-parents a node: finding its place among its siblings is cheap enough then.
  NodeId before = kNoNode;
  for (NodeId n = p.first_child; n != child; n = nodes_[static_cast<std::size_t>(n)].next_sibling) before = n;
  if (before != kNoNode) {
    nodes_[static_cast<std::size_t>(before)].next_sibling = c.next_sibling;
  } else {
    p.first_child = c.next_sibling;
  }
  c.parent = c.next_sibling = kNoNode;
}

bool Graph::set_parent(NodeId node, NodeId parent) {
  for (NodeId up = parent; up != kNoNode; up = nodes_[static_cast<std::size_t>(up)].parent) {
    if (up == node) return false;
  }
  unlink_parent(node);
  if (parent != kNoNode) link_parent(node, parent);
  changed();
  return true;
}

std::string Graph::path(NodeId node) const {
  if (!model(node).dag) return std::string();
  std::vector<NodeId> chain;
  for (NodeId n = node; n != kNoNode; n = nodes_[static_cast<std::size_t>(n)].parent) chain.push_back(n);
  std::string out;
  const std::string outside = outside_parent(chain.back());
  if (!outside.empty()) {
    if (outside.front() != '|') out += '|';
    out += outside;
  }
  for (auto n = chain.rbegin(); n != chain.rend(); ++n) {
    out += '|';
    append_name(*n, &out);
  }
  return out;
}

// ---- links written across files -----------------------------------------------------------------

void Graph::link_pending(std::size_t fresh) {
  std::vector<NodeId> still;
  for (const NodeId node : link_->pending_parents) {
    if (nodes_[static_cast<std::size_t>(node)].parent != kNoNode) continue;  // placed by an edit since
    const Found parent = resolve(file_of(node), model(node).parent_name);
    bool linked = false;
    if (parent.node != kNoNode && parent.node != node) {
      // A node with children could close a cycle through a parent written in another file.
      bool cycle = false;
      if (nodes_[static_cast<std::size_t>(node)].first_child != kNoNode) {
        for (NodeId up = parent.node; up != kNoNode && !cycle; up = nodes_[static_cast<std::size_t>(up)].parent) {
          cycle = up == node;
        }
      }
      if (!cycle) {
        link_parent(node, parent.node);
        linked = true;
      }
    }
    if (!linked) still.push_back(node);
  }
  link_->pending_parents.swap(still);
  std::vector<std::size_t> waiting;
  const auto settle = [&](std::size_t index) {
    resolve_connection(index);
    const LinkState::ConnectionRecord& record = link_->connections[index];
    if (record.source == kNoNode || record.destination == kNoNode) waiting.push_back(index);
  };
  for (const std::size_t index : link_->pending_connections) settle(index);
  for (std::size_t index = link_->connections.size() - fresh; index < link_->connections.size(); ++index) settle(index);
  link_->pending_connections.swap(waiting);
  changed();
}

void Graph::resolve_connection(std::size_t index) {
  LinkState::ConnectionRecord& record = link_->connections[index];
  File& file = *files_[static_cast<std::size_t>(record.file)];
  mayascene::Connection& written = file.scene.connections[static_cast<std::size_t>(record.index)];
  const bool read_in_file = static_cast<std::size_t>(record.index) < file.read_connections;
  for (const bool source : {true, false}) {
    NodeId& end = source ? record.source : record.destination;
    if (end != kNoNode) continue;
    const std::string_view plug = source ? written.source() : written.destination();
    const auto [node_text, attr] = split_plug(plug);
    const Found found = resolve(record.file, node_text);
    if (found.node == kNoNode) continue;
    end = found.node;
    if (!attr.empty() && (file_of(found.node) != record.file || !read_in_file)) {
      // The reader names plugs of its own file's nodes with long names; a plug of another file's
      // node, or one an edit makes, gets them here.
      const mayascene::Node& node = model(found.node);
      const std::string renamed = std::string(node_text) + "." + mayascene::canonical_path(node.type, attr, node.dynamic);
      if (source) {
        written.set_source(file.scene.texts, renamed);
      } else {
        written.set_destination(file.scene.texts, renamed);
      }
    }
  }
}

void Graph::add_connection(int file, std::string_view source, std::string_view destination) {
  mayascene::Scene& scene = files_[static_cast<std::size_t>(file)]->scene;
  auto& list = scene.connections;
  list.emplace_back(scene.texts, without_root(source), without_root(destination));
  link_->connections.push_back({file, static_cast<int>(list.size()) - 1});
  link_pending(1);
}

void Graph::changed() {
  link_->connections_indexed = false;
  link_->unique_depth.clear();
}

void Graph::build_connection_index() const {
  LinkState& link = *link_;
  link.connection_offsets.assign(nodes_.size() + 1, 0);
  for (const auto& record : link.connections) {
    if (record.source != kNoNode) ++link.connection_offsets[static_cast<std::size_t>(record.source) + 1];
    if (record.destination != kNoNode && record.destination != record.source) {
      ++link.connection_offsets[static_cast<std::size_t>(record.destination) + 1];
    }
  }
  for (std::size_t i = 1; i < link.connection_offsets.size(); ++i) link.connection_offsets[i] += link.connection_offsets[i - 1];
  link.connection_entries.assign(link.connection_offsets.back(), 0);
  std::vector<std::uint32_t> next(link.connection_offsets.begin(), link.connection_offsets.end() - 1);
  for (std::size_t c = 0; c < link.connections.size(); ++c) {
    const auto& record = link.connections[c];
    if (record.source != kNoNode) link.connection_entries[next[static_cast<std::size_t>(record.source)]++] = static_cast<std::uint32_t>(c);
    if (record.destination != kNoNode && record.destination != record.source) {
      link.connection_entries[next[static_cast<std::size_t>(record.destination)]++] = static_cast<std::uint32_t>(c);
    }
  }
  link.connections_indexed = true;
}

Graph::PlugEnd Graph::plug_end(int file, std::string_view plug, NodeId node) const {
  const auto [node_text, attr] = split_plug(plug);
  PlugEnd end{node, std::string(), attr};
  if (node == kNoNode) end.node_text = qualify(file, node_text);
  return end;
}

std::vector<Graph::Connection> Graph::connections_of(NodeId node) const {
  if (!link_->connections_indexed) build_connection_index();
  std::vector<Connection> out;
  const std::uint32_t first = link_->connection_offsets[static_cast<std::size_t>(node)];
  const std::uint32_t last = link_->connection_offsets[static_cast<std::size_t>(node) + 1];
  for (std::uint32_t e = first; e < last; ++e) {
    const auto& record = link_->connections[link_->connection_entries[e]];
    const mayascene::Connection& written =
        files_[static_cast<std::size_t>(record.file)]->scene.connections[static_cast<std::size_t>(record.index)];
    out.push_back({plug_end(record.file, written.source(), record.source),
                   plug_end(record.file, written.destination(), record.destination)});
  }
  return out;
}

}  // namespace scenegraph
