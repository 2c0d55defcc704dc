// The default nodes every Maya scene has without creating them in the file, and the fix-ups both
// front ends make once a file is read. Shared by src/ascii and src/binary so that a scene reads the
// same whichever format it was saved in.
#pragma once

#include <string>
#include <string_view>

#include "mayascene/scene.h"

namespace mayascene {
namespace detail {

// The type of a node every Maya scene has without creating it in the file, or nullptr.
const char* default_node_type(const std::string& name);

// Appends a node and indexes its name; returns its index.
int add_node(Scene& scene, NameIndex& names, std::string_view name, std::string_view type);

// A node's parent name as written, kept in the scene's texts: the parent's own name when it is
// written so, else the text of the sibling before when it is the same.
Text parent_text(Scene& scene, int parent, std::string_view written);

// The node a file addresses as an existing one (an absolute setAttr, `select -ne`): the node of
// that name, else a new implicit default node; -1 when the name is not a default node's.
int default_node(Scene& scene, NameIndex& names, std::string_view written);

// The node `select -ne <name>` makes current: default_node, or for a root-namespace name
// (":name") of no known default, a new implicit node of type "unknown"; -1 otherwise.
int selected_node(Scene& scene, NameIndex& names, const std::string& written);

// Once the file is read: the default nodes the command layer always asks for, and the plugs of
// the connections with long attribute names, as Maya lists them.
void finish_scene(Scene& scene, NameIndex& names);

}  // namespace detail
}  // namespace mayascene
