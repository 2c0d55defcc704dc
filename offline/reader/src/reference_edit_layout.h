// How many fields each kind of reference edit carries after its code, as Maya writes them in a
// dataReferenceEdits value (the .ma text and the .mb REFE chunk alike). Shared by both front ends.
#pragma once

namespace mayascene {
namespace detail {

constexpr int kPlaceholderConnectionEdit = 5;

// The fields after the code (after the sub-code for code 5), or -1 for a code of unknown layout.
inline int reference_edit_field_count(long long code, long long sub_code) {
  switch (code) {
    case 0: return 3;  // parent: child, new parent, flags
    case 1: return 4;  // addAttr: node (unquoted in .ma), long name, short name, flags
    case 2: return 3;  // setAttr: node, attribute, value tail
    case 3: return 3;  // connectAttr: source, destination, flags
    case 4: return 3;  // deleteAttr: node, attribute, ""
    case kPlaceholderConnectionEdit: return sub_code == 0 ? 6 : (sub_code >= 1 && sub_code <= 4) ? 4 : -1;
    default: return -1;
  }
}

}  // namespace detail
}  // namespace mayascene
