// The layouts of the chunks the binary reader keeps, as pure functions from a chunk's data to
// the scene model's records. Each throws Malformed when the data does not hold its layout.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mayascene/scene.h"
#include "payload.h"

namespace mayascene {
namespace binary {

// ---- header_chunks.cpp ------------------------------------------------------------------------
struct PluginRecord {
  Requirement requirement;
  std::vector<std::pair<std::string, std::uint32_t>> type_ids;  // (type name, id): Maya 2014 and later
};
// PLUG: name NUL version NUL [flags NUL (typeName NUL, u32 id)*]; the flags are the options of the
// .ma `requires` line (-nodeType "t" -dataType "d").
PluginRecord decode_plugin(std::string_view data);
// FINF: key NUL value NUL, the value escaped as in a .ma string.
std::pair<std::string, std::string> decode_file_info(std::string_view data);

// ---- references.cpp ---------------------------------------------------------------------------
// FRDI (`file -rdi`, top_level false) and FREF (`file -r`).
Reference decode_reference(std::string_view data, bool top_level);

// ---- node_groups.cpp --------------------------------------------------------------------------
struct NodeRecord {
  std::uint8_t flags = 0;
  std::string name;
  std::string parent;
  std::string uuid;
};
namespace crea {
constexpr std::uint8_t kShared = 0x01;
constexpr std::uint8_t kDag = 0x04;
constexpr std::uint8_t kLocked = 0x10;
constexpr std::uint8_t kNoParent = 0x80;
}  // namespace crea
// CREA: flags, name NUL, [parent NUL unless flags & 0x80], [16-byte UUID].
NodeRecord decode_node(std::string_view data);
// The 16 UUID bytes (four little-endian words) in Maya's 8-4-4-4-12 text form.
std::string uuid_text(std::string_view bytes);

// ---- attribute_values.cpp ---------------------------------------------------------------------
struct ValueContext {
  std::string node_type;
  const DynamicAttributes* dynamic = nullptr;
  double frames_per_second = 24;
  double ticks_per_second = 0;  // the header's TDUR: time values are 64-bit ticks (Maya 2018 and later)
  bool transform = false;       // a node of a transform-derived type (CREA flag 0x08)
  double angle_factor = 1;      // radians to the scene's angle unit
};
namespace crea {
constexpr std::uint8_t kTransform = 0x08;
}  // namespace crea
// The flag of a value chunk that holds a u32 element count (setAttr -s) instead of a value.
constexpr std::uint8_t kSizeFollows = 0x08;
// A value chunk (STR , STR#, DBLE, DBL2/3, FLT2/3, LNG2/3, SRT2/3, MATR) as the values a .ma
// setAttr of it stores: (attribute path as written, value) pairs, one per element of a range;
// nothing for a size or flag chunk, bulk data or a layout that does not fit.
std::vector<std::pair<std::string, Value>> decode_value(std::uint32_t id, std::string_view data,
                                                        const ValueContext& context);

// ---- add_attr.cpp -----------------------------------------------------------------------------
// ATTR (addAttr). Maya 8.5 to 2008 write a 16-bit flags field, later versions a 32-bit one; the
// layout that fits is taken.
DynamicAttribute decode_added_attribute(std::string_view data);

// ---- connections.cpp --------------------------------------------------------------------------
struct ConnectionRecord {
  std::string source;       // without the root namespace's ':'
  std::string destination;
  bool next_available = false;
};
// CWFL: flags (0x01 -na, 0x02 -l), source NUL, destination NUL.
ConnectionRecord decode_connection(std::string_view data);
// RELA: kind NUL, node NUL, u32 count, plug NUL * count.
Relationship decode_relationship(std::string_view data);

// ---- reference_edits.cpp ----------------------------------------------------------------------
// REFE "ed": the edits a reference node stores. Edits whose layout is unknown end the decoding of
// the chunk; `undecoded` counts the edits left out.
ReferenceEdits decode_reference_edits(std::string_view data, const std::string& holder, std::size_t* undecoded);

}  // namespace binary
}  // namespace mayascene
