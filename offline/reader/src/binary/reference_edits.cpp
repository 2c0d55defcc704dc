// REFE "ed": the reference edits a reference node stores (the .ma dataReferenceEdits value):
// the owner reference node, then passes of groups, each pass a u32 count of groups, each group a
// reference node NUL, a u32 count of edits and the edits: a u32 code and its fields. The field
// counts of codes 2 (setAttr) and 5 4 (a connection into the reference) are established on real
// files; the others follow the .ma layout of the same codes.
#include "decoders.h"
#include "../reference_edit_layout.h"

namespace mayascene {
namespace binary {

namespace {

constexpr std::uint32_t kPlaceholderConnection = detail::kPlaceholderConnectionEdit;

int field_count(std::uint32_t code, std::uint32_t sub_code) {
  return detail::reference_edit_field_count(code, sub_code);
}

bool plausible_code(std::uint32_t code) { return code <= kPlaceholderConnection; }

// True when the bytes at `at` open an edit of a known code.
bool edit_starts_at(std::string_view data, std::size_t at) {
  if (data.size() - at < 4) return false;
  Payload next(data.substr(at, 4));
  return plausible_code(next.u32());
}

}  // namespace

ReferenceEdits decode_reference_edits(std::string_view data, const std::string& holder, std::size_t* undecoded) {
  Payload p(data);
  p.text();  // the attribute ("ed")
  p.u8();
  ReferenceEdits out;
  out.holder = holder;
  out.owner = std::string(p.text());
  *undecoded = 0;
  std::uint32_t left = 0;  // edits of the current group not yet read
  try {
    while (p.remaining() >= 4) {
      const std::uint32_t groups = p.u32();
      if (groups > p.remaining()) throw Malformed{p.position(), "more reference edit groups than bytes"};
      for (std::uint32_t g = 0; g < groups; ++g) {
        ReferenceEditGroup group;
        group.reference_node = std::string(p.text());
        left = p.u32();
        if (left > p.remaining()) throw Malformed{p.position(), "more reference edits than bytes"};
        out.groups.push_back(std::move(group));
        for (; left > 0; --left) {
          ReferenceEdit edit;
          edit.code = static_cast<int>(p.u32());
          const bool placeholder = edit.code == static_cast<int>(kPlaceholderConnection);
          const std::uint32_t sub_code = placeholder ? p.u32() : 0;
          const int fields = field_count(static_cast<std::uint32_t>(edit.code), sub_code);
          // Records carry no length: an unknown layout hides where the next one starts.
          if (fields < 0) throw Malformed{p.position(), "a reference edit of unknown layout"};
          if (placeholder) edit.fields.push_back(std::to_string(sub_code));
          for (int f = 0; f < fields; ++f) edit.fields.emplace_back(p.text());
          // After a layout taken from the .ma form, the next edit must open with a known code, else
          // that layout was not the one written.
          const bool established = edit.code == 2 || (placeholder && sub_code == 4);
          if (!established && left > 1 && !edit_starts_at(data, p.position())) {
            throw Malformed{p.position(), "a misread reference edit"};
          }
          out.groups.back().edits.push_back(std::move(edit));
        }
      }
    }
  } catch (const Malformed&) {
    *undecoded += left;  // the rest of this group; later groups are lost with it
  }
  return out;
}

}  // namespace binary
}  // namespace mayascene
