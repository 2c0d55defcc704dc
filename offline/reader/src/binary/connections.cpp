// Connections: LIS* CONS groups, each holding FOR* CONN groups of CWFL (connectAttr) and RELA
// (relationship) chunks.
#include "binary_reader.h"
#include "mayascene/dag_path_text.h"

namespace mayascene {
namespace binary {

namespace {

constexpr std::uint8_t kNextAvailable = 0x01;

}  // namespace

ConnectionRecord decode_connection(std::string_view data) {
  Payload p(data);
  ConnectionRecord record;
  record.next_available = (p.u8() & kNextAvailable) != 0;
  record.source = std::string(without_root(p.text()));
  record.destination = std::string(without_root(p.text_or_rest()));
  if (record.source.empty() || record.destination.empty()) {
    throw Malformed{0, "a connection without two plugs"};
  }
  return record;
}

Relationship decode_relationship(std::string_view data) {
  Payload p(data);
  Relationship r;
  r.kind = std::string(p.text());
  r.members.emplace_back(without_root(p.text()));
  const std::uint32_t count = p.u32();
  if (count > p.remaining()) throw Malformed{p.position(), "more plugs than bytes"};
  for (std::uint32_t i = 0; i < count; ++i) r.members.emplace_back(without_root(p.text_or_rest()));
  return r;
}

void Reader::read_connections(const Chunk& group) {
  std::uint64_t at = group.children();
  Chunk conn;
  while (container_.next(group, &at, &conn)) {
    if (!conn.group) continue;
    std::uint64_t inner = conn.children();
    Chunk leaf;
    while (container_.next(conn, &inner, &leaf)) {
      if (leaf.group) continue;
      if (leaf.id == tag("CWFL")) {
        ConnectionRecord record;
        if (too_long(leaf, 1) || !try_decoded(leaf, decode_connection, &record)) continue;
        std::string& destination = record.destination;
        // -na appends at the next free index of the destination array, as Maya does on reading.
        if (record.next_available && destination.back() != ']') {
          const int index = next_available_[destination]++;
          destination += "[" + std::to_string(index) + "]";
        }
        scene_.connections.emplace_back(scene_.texts, record.source, destination);
      } else if (leaf.id == tag("RELA")) {
        Relationship r;
        if (!too_long(leaf) && try_decoded(leaf, decode_relationship, &r)) scene_.relationships.push_back(std::move(r));
      }
    }
  }
}

}  // namespace binary
}  // namespace mayascene
