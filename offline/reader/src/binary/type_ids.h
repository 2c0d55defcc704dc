// Node types by the type id a node group carries: Maya's built-in nodes by their four-character
// tags, render setup's nodes, and a few plug-ins' ids for files that carry no PLUG type table.
#pragma once

#include <cstdint>
#include <string>

namespace mayascene {
namespace binary {

// The type name of a built-in, render setup or well-known plug-in type id; nullptr when unknown.
const char* known_type(std::uint32_t id);
// The type text of a node whose type cannot be named: "unknown type 0x00115C00", with the tag
// for a printable one ("unknown type 0x554D4254 (UMBT)").
std::string unknown_type_text(std::uint32_t id);

}  // namespace binary
}  // namespace mayascene
