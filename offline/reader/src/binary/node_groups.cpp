// Node groups: one group per created node, its type id as the group type, CREA first (flags,
// name, parent, UUID), then addAttr (ATTR) and value chunks. SLCT groups address an existing or
// default node (`select -ne`) and carry value chunks for it.
#include <cstdio>

#include "../default_nodes.h"
#include "binary_reader.h"
#include "mayascene/names.h"
#include "type_ids.h"

namespace mayascene {
namespace binary {

std::string uuid_text(std::string_view bytes) {
  std::uint32_t w[4];
  for (int i = 0; i < 4; ++i) {
    w[i] = 0;
    for (int k = 3; k >= 0; --k) w[i] = (w[i] << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i * 4 + k)]);
  }
  char text[40];
  std::snprintf(text, sizeof text, "%08X-%04X-%04X-%04X-%04X%08X", static_cast<unsigned>(w[0]),
                static_cast<unsigned>(w[1] >> 16), static_cast<unsigned>(w[1] & 0xFFFF), static_cast<unsigned>(w[2] >> 16),
                static_cast<unsigned>(w[2] & 0xFFFF), static_cast<unsigned>(w[3]));
  return text;
}

NodeRecord decode_node(std::string_view data) {
  Payload p(data);
  NodeRecord record;
  record.flags = p.u8();
  record.name = std::string(p.text());
  if (!(record.flags & crea::kNoParent) && p.remaining() != 0) {
    const bool uuid_only = p.remaining() == 16 && data.find('\0', p.position()) == std::string_view::npos;
    if (!uuid_only) record.parent = std::string(p.text());
  }
  if (p.remaining() == 16) record.uuid = uuid_text(p.take(16));
  return record;
}

std::string Reader::type_name(std::uint32_t id) const {
  const auto plugin = plugin_types_.find(id);
  if (plugin != plugin_types_.end()) return plugin->second;
  if (const char* known = known_type(id)) return known;
  return unknown_type_text(id);
}

int Reader::create_node(const NodeRecord& record, std::uint32_t type_id) {
  std::string type = type_name(type_id);
  const bool shared = (record.flags & crea::kShared) != 0;
  if (record.parent.empty()) {
    // A shared node (createNode -s) merges into an existing one, as does a default node addressed earlier.
    const int existing = names_.find(scene_, record.name);
    if (existing >= 0 && (shared || scene_.nodes[static_cast<std::size_t>(existing)].implicit)) {
      Node& node = scene_.nodes[static_cast<std::size_t>(existing)];
      node.implicit = false;
      node.shared = node.shared || shared;
      node.locked = node.locked || (record.flags & crea::kLocked) != 0;
      node.type = scene_.texts.intern(type);
      node.dag = node.dag || (record.flags & crea::kDag) != 0 || inherits(node.type, "dagNode");
      if (!record.uuid.empty()) scene_.uuids.set(existing, record.uuid);
      return existing;
    }
  }
  const int parent = record.parent.empty() ? -1 : names_.find(scene_, record.parent);  // before the node can match itself
  const int index = detail::add_node(scene_, names_, record.name, std::move(type));
  Node& node = scene_.nodes[static_cast<std::size_t>(index)];
  node.shared = shared;
  node.locked = (record.flags & crea::kLocked) != 0;
  scene_.uuids.set(index, record.uuid);
  node.parent_name = detail::parent_text(scene_, parent, record.parent);
  node.parent = parent;
  node.dag = (record.flags & crea::kDag) != 0 || parent >= 0 || !record.parent.empty() || inherits(node.type, "dagNode");
  if (parent >= 0) scene_.nodes[static_cast<std::size_t>(parent)].dag = true;
  return index;
}

void Reader::read_node(const Chunk& group) {
  std::uint64_t at = group.children();
  Chunk first;
  if (!container_.next(group, &at, &first)) return;  // an empty group creates nothing
  // A group of another kind that this reader does not know: no node to create.
  if (first.group || first.id != tag("CREA") || too_long(first, 1)) return;
  const NodeRecord record = decoded(first, decode_node);
  const int node = create_node(record, group.type);
  node_flags_.resize(scene_.nodes.size(), 0);
  node_flags_[static_cast<std::size_t>(node)] |= record.flags;
  read_node_chunks(group, at, node);
}

void Reader::read_select(const Chunk& group) {
  std::uint64_t at = group.children();
  Chunk first;
  if (!container_.next(group, &at, &first)) return;
  if (first.group || first.id != tag("SLCT") || first.size > 4096) return;  // no node named: nothing to edit
  std::string name = container_.data(first);
  while (!name.empty() && name.back() == '\0') name.pop_back();
  read_node_chunks(group, at, detail::selected_node(scene_, names_, name));
}

void Reader::read_node_chunks(const Chunk& group, std::uint64_t at, int node) {
  node_flags_.resize(scene_.nodes.size(), 0);
  Chunk leaf;
  while (container_.next(group, &at, &leaf)) {
    if (node < 0 || leaf.group) continue;
    if (leaf.id == tag("ATTR")) {
      DynamicAttribute attribute;
      if (!too_long(leaf) && try_decoded(leaf, decode_added_attribute, &attribute)) {
        scene_.nodes[static_cast<std::size_t>(node)].dynamic.push_back(std::move(attribute));
      }
    } else if (leaf.id == tag("REFE")) {
      std::size_t undecoded = 0;
      const std::string holder = scene_.nodes[static_cast<std::size_t>(node)].name.str();
      ReferenceEdits edits;
      if (try_decoded(leaf, [&](std::string_view data) { return decode_reference_edits(data, holder, &undecoded); },
                      &edits)) {
        drop_long_edits(&edits);
        scene_.reference_edits.push_back(std::move(edits));
      }
    } else {
      read_value(leaf, node);
    }
  }
}

}  // namespace binary
}  // namespace mayascene
