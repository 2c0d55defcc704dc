// Maya's knowledge that a scene file does not carry: the node type hierarchy, the long and short
// names of the attributes that the command layer is asked for, their defaults, and the codec of
// a `//Codeset:` header.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "mayascene/lexer.h"
#include "mayascene/scene.h"

namespace mayascene {

// The type that `type` derives from in Maya ("" for a root or a type this table does not know).
std::string_view base_type(std::string_view type);
// True when `type` is `base` or derives from it (ls -type semantics).
bool inherits(std::string_view type, std::string_view base);
// The chain type, base, base of base, ... (the type itself first).
std::vector<std::string> type_ancestry(std::string_view type);

struct AttributeInfo {
  enum class Default { None, Null, Bool, Int, Double, String, Double3 };
  const char* type;        // node type that defines it (inherited by derived types)
  const char* long_name;
  const char* short_name;
  Default kind;
  double number;
  const char* text;
};

// The attribute `name` (long or short) of a node of type `type`, or nullptr.
const AttributeInfo* find_attribute(std::string_view type, std::string_view name);
// The default value Maya gives the attribute; false when it has none or its default is no value.
bool default_value(const AttributeInfo& info, Value* out);

// Rewrites each name of an attribute path ("fn[0]", "iog[0].og[1].gcl", "rlmi[0:3]") to its long
// form, using the node's dynamic attributes first and the built-in table second; names found in
// neither are kept as written.
std::string canonical_path(std::string_view type, std::string_view path,
                           const DynamicAttributes& dynamic);

// The Python codec name for a `//Codeset:` value ("1252" -> "cp1252", "936" -> "gbk").
std::string codec_for_codeset(std::string_view codeset);

// The double-byte encoding of a `//Codeset:` value ("936" and "950" -> GbkOrBig5, "932" -> ShiftJis),
// None for single-byte code pages and UTF-8.
DoubleByteEncoding double_byte_encoding(std::string_view codeset);

}  // namespace mayascene
