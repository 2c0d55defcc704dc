// The binary reader behind read_binary, shared by its source files: reader.cpp walks the top
// level, and one file per kind of chunk group holds its handler: header_chunks.cpp (HEAD),
// references.cpp (FRDI, FREF), node_groups.cpp (node groups, SLCT), connections.cpp (CONS);
// long_values.cpp what is larger than the cap on stored values.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "container.h"
#include "decoders.h"
#include "mayascene/scene.h"

namespace mayascene {
namespace binary {

struct TextExtent;

class Reader {
 public:
  Reader(Container& container, Scene& scene, std::string fallback_codeset, std::uint64_t max_value_bytes)
      : container_(container), scene_(scene), fallback_codeset_(std::move(fallback_codeset)),
        max_value_bytes_(max_value_bytes) {}

  void run();

 private:
  // ---- driver (reader.cpp) --------------------------------------------------------------------
  void finish();
  // A leaf's data decoded by `decode`; a Malformed layout is an error naming the chunk.
  template <class Decode>
  auto decoded(const Chunk& leaf, Decode decode) -> decltype(decode(std::string_view())) {
    const std::string data = container_.data(leaf);
    try {
      return decode(std::string_view(data));
    } catch (const Malformed& m) {
      container_.fail(leaf.data + m.at, leaf.id, m.what);
    }
  }

  // A leaf's data decoded by `decode` into *out; false (the chunk is passed over) when its layout
  // is not what the decoder knows.
  template <class Decode, class Out>
  bool try_decoded(const Chunk& leaf, Decode decode, Out* out) {
    const std::string data = container_.data(leaf);
    try {
      *out = decode(std::string_view(data));
      return true;
    } catch (const Malformed&) {
      return false;
    }
  }

  // ---- HEAD (header_chunks.cpp) ---------------------------------------------------------------
  void read_header(const Chunk& group);

  // ---- FRDI, FREF (references.cpp) ------------------------------------------------------------
  void read_reference(const Chunk& group, bool top_level);

  // ---- node groups, SLCT (node_groups.cpp) ----------------------------------------------------
  void read_node(const Chunk& group);
  void read_select(const Chunk& group);
  int create_node(const NodeRecord& record, std::uint32_t type_id);
  void read_node_chunks(const Chunk& group, std::uint64_t at, int node);
  void read_value(const Chunk& leaf, int node);
  std::string type_name(std::uint32_t id) const;

  // ---- chunks over the cap on stored values (long_values.cpp) --------------------------------
  std::string text_at(const TextExtent& text);
  // True (and listed) when the leaf holds a text over the cap: the record is not kept. Texts are
  // the runs of bytes between NULs after the leaf's first `fixed` bytes (its flags, a depth).
  bool too_long(const Chunk& leaf, std::uint64_t fixed = 0);
  // A STR or STR# leaf larger than the cap, read as decode_value reads it, a text over the cap
  // left in the file (STR) or the array not kept (STR#); false for a leaf within the cap.
  bool read_long_value(const Chunk& leaf, int node);
  // Edits with a field over the cap are not kept; they count as unread.
  void drop_long_edits(ReferenceEdits* edits) const;

  // ---- CONS (connections.cpp) -----------------------------------------------------------------
  void read_connections(const Chunk& group);

  Container& container_;
  Scene& scene_;
  std::string fallback_codeset_;
  std::uint64_t max_value_bytes_;
  bool long_texts_utf8_ = true;  // the texts left in the file (Span values)
  NameIndex names_;
  std::vector<std::uint8_t> node_flags_;  // the CREA flags of each node (0 for default nodes)
  std::unordered_map<std::uint32_t, std::string> plugin_types_;  // from the PLUG records
  std::unordered_map<std::string, int> next_available_;
  double frames_per_second_ = 24;
  double ticks_per_second_ = 0;  // TDUR; 0 before Maya 2018
  bool header_is_utf8_ = true;   // texts of the header that the model does not keep
};

}  // namespace binary
}  // namespace mayascene
