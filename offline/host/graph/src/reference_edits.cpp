#include "scenegraph/reference_edits.h"

#include <algorithm>
#include <map>

#include "mayascene/lexer.h"
#include "mayascene/reader.h"
#include "scenegraph/queries.h"

namespace scenegraph {

namespace {

enum Code { kParent = 0, kAddAttr = 1, kSetAttr = 2, kConnectAttr = 3 };

// What became of one file's edits, for its log line.
struct Tally {
  int set_attr = 0;
  int connect_attr = 0;
  int parent = 0;
  int not_in_scene = 0;           // the node or plug they name is not in the graph
  std::size_t unread = 0;         // the file's reader could not read them
  std::map<int, int> other_kinds;  // code -> count, kept and not applied
  std::vector<std::string> malformed;
};

const std::size_t kMalformedShown = 5;

std::string plural(int n, const char* what) { return std::to_string(n) + " " + what; }

class EditApplier {
 public:
  EditApplier(Graph& graph, int file) : graph_(graph), file_(file) {}

  void apply(const mayascene::ReferenceEdit& edit) {
    switch (edit.code) {
      case kSetAttr: return set_attr(edit);
      case kConnectAttr: return connect_attr(edit);
      case kParent: return parent(edit);
      default: ++tally.other_kinds[edit.code];
    }
  }

  // Sorting a node's values after each edit costs a file of k edits on one node k sorts of up to k
  // values: the nodes are sorted once, when the file's edits are in. Until then a node's values
  // read as they will after (the last value set wins), so no edit reads them differently.
  void normalize_edited() {
    std::sort(edited_.begin(), edited_.end());
    edited_.erase(std::unique(edited_.begin(), edited_.end()), edited_.end());
    for (const NodeId node : edited_) graph_.model(node).attrs.normalize();
    edited_.clear();
  }

  Tally tally;

 private:
  NodeId node(std::string_view written) {
    const Found found = graph_.resolve(file_, written);
    return found.ambiguous ? kNoNode : found.node;
  }

  void malformed(const mayascene::ReferenceEdit& edit, const std::string& why) {
    std::string text = "code " + std::to_string(edit.code);
    for (std::size_t i = 0; i < edit.fields.size() && i < 2; ++i) text += " \"" + edit.fields[i].substr(0, 80) + "\"";
    tally.malformed.push_back(text + ": " + why);
  }

  void set_attr(const mayascene::ReferenceEdit& edit) {
    if (edit.fields.size() < 3) return malformed(edit, "a setAttr edit has a node, an attribute and a value");
    const NodeId target = node(edit.fields[0]);
    if (target == kNoNode) {
      ++tally.not_in_scene;
      return;
    }
    std::vector<std::pair<std::string, mayascene::Value>> values;
    try {
      values = mayascene::set_attr_values(graph_.model(target), edit.fields[1], edit.fields[2], "reference edit");
    } catch (const mayascene::ParseError& failure) {
      return malformed(edit, failure.reason());
    }
    mayascene::Node& model = graph_.model(target);
    for (auto& value : values) model.attrs.set(value.first, value.second);
    if (edited_.empty() || edited_.back() != target) edited_.push_back(target);
    ++tally.set_attr;
  }

  void connect_attr(const mayascene::ReferenceEdit& edit) {
    if (edit.fields.size() < 2) return malformed(edit, "a connectAttr edit has two plugs");
    const NodeId source = node(split_plug(edit.fields[0]).first);
    const auto [destination_text, destination_attr] = split_plug(edit.fields[1]);
    const NodeId destination = node(destination_text);
    if (source == kNoNode || destination == kNoNode) {
      ++tally.not_in_scene;
      return;
    }
    std::string destination_plug = edit.fields[1];
    const bool next_available = edit.fields.size() >= 3 && edit.fields[2].find("-na") != std::string::npos;
    if (next_available && !destination_attr.empty() && destination_attr.back() != ']') {
      const std::vector<long long> used = multi_indices(graph_, destination, destination_attr);
      destination_plug += "[" + std::to_string(used.empty() ? 0 : used.back() + 1) + "]";
    }
    graph_.add_connection(file_, edit.fields[0], destination_plug);
    ++tally.connect_attr;
  }

  void parent(const mayascene::ReferenceEdit& edit) {
    if (edit.fields.size() < 2) return malformed(edit, "a parent edit has a child and a parent");
    const NodeId child = node(edit.fields[0]);
    const bool to_world = edit.fields[1].empty() || edit.fields[1] == "|" ||
                          (edit.fields.size() >= 3 && edit.fields[2].find("-w") != std::string::npos);
    const NodeId parent = to_world ? kNoNode : node(edit.fields[1]);
    if (child == kNoNode || (!to_world && parent == kNoNode)) {
      ++tally.not_in_scene;
      return;
    }
    if (!graph_.set_parent(child, parent)) return malformed(edit, "the new parent lies below the node");
    ++tally.parent;
  }

  Graph& graph_;
  int file_;
  std::vector<NodeId> edited_;  // by set_attr, not yet normalized
};

std::string summary(const std::string& path, const Tally& t) {
  std::string text = "Reference edits stored in " + path + ": " +
                     plural(t.set_attr + t.connect_attr + t.parent, "applied") + " (" +
                     plural(t.set_attr, "setAttr") + ", " + plural(t.connect_attr, "connectAttr") + ", " +
                     plural(t.parent, "parent") + ")";
  if (t.not_in_scene != 0) text += ", " + plural(t.not_in_scene, "naming nodes that are not loaded");
  int other = 0;
  std::string kinds;
  for (const auto& kind : t.other_kinds) {
    other += kind.second;
    kinds += (kinds.empty() ? "" : ", ") + std::string("code ") + std::to_string(kind.first) + ": " +
             std::to_string(kind.second);
  }
  if (other != 0) text += ", " + plural(other, "of other kinds kept unapplied") + " (" + kinds + ")";
  if (!t.malformed.empty()) text += ", " + plural(static_cast<int>(t.malformed.size()), "malformed");
  if (t.unread != 0) text += ", " + plural(static_cast<int>(t.unread), "that could not be read, passed over");
  return text;
}

}  // namespace

std::vector<int> edit_order(const Graph& graph) {
  std::vector<int> depth(static_cast<std::size_t>(graph.file_count()), 0);
  for (int file = 1; file < graph.file_count(); ++file) {
    const Found holder = graph.find(graph.options(file).reference_node);
    const int parent = holder.node == kNoNode ? 0 : graph.file_of(holder.node);
    // The reference node lives in a file added before the one it loads.
    depth[static_cast<std::size_t>(file)] = parent < file ? depth[static_cast<std::size_t>(parent)] + 1 : 1;
  }
  std::vector<int> order(depth.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    return depth[static_cast<std::size_t>(a)] > depth[static_cast<std::size_t>(b)];
  });
  return order;
}

std::vector<EditMessage> apply_reference_edits(Graph& graph) {
  std::vector<EditMessage> messages;
  for (const int file : edit_order(graph)) {
    const mayascene::Scene& scene = graph.scene(file);
    if (scene.reference_edits.empty()) continue;
    EditApplier applier(graph, file);
    for (const mayascene::ReferenceEdits& holder : scene.reference_edits) {
      applier.tally.unread += holder.unread;
      for (const mayascene::ReferenceEditGroup& group : holder.groups) {
        for (const mayascene::ReferenceEdit& edit : group.edits) applier.apply(edit);
      }
    }
    applier.normalize_edited();
    messages.push_back({"Info", summary(scene.file, applier.tally)});
    const std::vector<std::string>& malformed = applier.tally.malformed;
    for (std::size_t i = 0; i < malformed.size() && i < kMalformedShown; ++i) {
      messages.push_back({"Warning", "Reference edit in " + scene.file + " not applied: " + malformed[i]});
    }
    if (malformed.size() > kMalformedShown) {
      messages.push_back({"Warning", "Reference edits in " + scene.file + ": " +
                                         std::to_string(malformed.size() - kMalformedShown) + " more not applied"});
    }
  }
  return messages;
}

}  // namespace scenegraph
