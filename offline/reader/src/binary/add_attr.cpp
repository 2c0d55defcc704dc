// ATTR (addAttr): kind, flags, data tags, long and short name, optional parent, nice name and enum
// fields, limits and the default value.
#include <cmath>
#include <cstring>

#include "decoders.h"

namespace mayascene {
namespace binary {

namespace {

constexpr std::uint32_t kDefault = 0x08, kParent = 0x20;

struct Kind {
  const char* tag;
  const char* type;  // the -at value a .ma addAttr gives
  bool typed;        // a tag list follows the flags directly
};
constexpr Kind kKinds[] = {
    {"aTYP", nullptr, true},     {"aMSG", "message", true},   {"aMTX", "matrix", true},
    {"aBOL", "bool", false},     {"aENM", "enum", false},     {"aSI1", "short", false},
    {"aLI1", "long", false},     {"aLI2", "long2", false},    {"aLI3", "long3", false},
    {"aSI2", "short2", false},   {"aSI3", "short3", false},   {"aFLT", "float", false},
    {"aFL2", "float2", false},   {"aFL3", "float3", false},   {"aDBL", "double", false},
    {"aDB2", "double2", false},  {"aDB3", "double3", false},  {"aCPD", "compound", false},
    {"aBYT", "byte", false},     {"aCHR", "char", false},
};

// The -dt value of a typed attribute, from its data tag.
struct DataType {
  const char* tag;
  const char* type;
};
constexpr DataType kDataTypes[] = {
    {"STR ", "string"},      {"STR#", "stringArray"},   {"DBL#", "doubleArray"},   {"I32#", "Int32Array"},
    {"FLT#", "floatArray"},  {"VEC#", "vectorArray"},   {"PNT#", "pointArray"},    {"MATR", "matrix"},
    {"MESH", "mesh"},        {"NRBC", "nurbsCurve"},    {"NRBS", "nurbsSurface"},  {"CMP#", "componentList"},
    {"LATT", "lattice"},     {"SPHR", "sphere"},        {"ATAL", "attributeAlias"}, {"DBL2", "double2"},
    {"DBL3", "double3"},     {"FLT2", "float2"},        {"FLT3", "float3"},        {"LNG2", "long2"},
    {"LNG3", "long3"},       {"SRT2", "short2"},        {"SRT3", "short3"},
};

bool is_name(std::string_view name) {
  if (name.empty()) return false;
  const unsigned char c = static_cast<unsigned char>(name[0]);
  return c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
}

DynamicAttribute decode_with(std::string_view data, const Kind& kind, bool wide_flags) {
  Payload p(data);
  p.skip(4);
  const std::uint32_t flags = wide_flags ? p.u32() : p.u16();
  if (!kind.typed) p.u32();  // children or components
  const std::uint32_t tags = p.u32();
  if (tags > 64 || tags * 4u > p.remaining()) throw Malformed{p.position(), "an impossible count of data tags"};
  std::string_view first_tag = tags > 0 ? p.take(4) : std::string_view();
  p.skip((tags > 0 ? tags - 1 : 0) * 4u);
  DynamicAttribute attr;
  attr.long_name = std::string(p.text());
  attr.short_name = std::string(p.text());
  if (!is_name(attr.long_name) || !is_name(attr.short_name)) throw Malformed{p.position(), "no attribute name"};
  if (flags & kParent) p.text();
  if (kind.type != nullptr) {
    attr.type = kind.type;
  } else {
    attr.type = std::string(first_tag);
    for (const DataType& d : kDataTypes) {
      if (first_tag == d.tag) attr.type = d.type;
    }
  }
  // The default closes the chunk: "DBLE" and a double.
  const std::string_view tail = data.size() >= 12 ? data.substr(data.size() - 12) : std::string_view();
  if ((flags & kDefault) && tail.substr(0, 4) == "DBLE") {
    Payload value(tail.substr(4));
    const double given = value.f64();
    set_default(&attr, &given);
  } else {
    set_default(&attr, nullptr);
  }
  return attr;
}

}  // namespace

DynamicAttribute decode_added_attribute(std::string_view data) {
  const Kind* kind = nullptr;
  for (const Kind& k : kKinds) {
    if (data.substr(0, 4) == k.tag) kind = &k;
  }
  if (kind == nullptr) throw Malformed{0, "an addAttr of an unknown kind"};
  try {
    return decode_with(data, *kind, true);
  } catch (const Malformed&) {
    return decode_with(data, *kind, false);  // Maya 8.5 to 2008
  }
}

}  // namespace binary
}  // namespace mayascene
