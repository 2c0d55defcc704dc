// The edits that files store on their reference nodes (Scene::reference_edits), applied to the
// graph once every file is in: the deepest file's first, so that a parent scene's edit of an
// attribute wins over its child's. Names in an edit are in the frame of the file that stores it.
#pragma once

#include <string>
#include <vector>

#include "scenegraph/graph.h"

namespace scenegraph {

struct EditMessage {
  std::string level;  // "Debug", "Info", "Warning"
  std::string text;
};

// Applies setAttr (2), connectAttr (3) and parent (0) edits; edits of other kinds are kept in the
// files' records and left unapplied. Returns what the log should say.
std::vector<EditMessage> apply_reference_edits(Graph& graph);

// The order in which files' edits apply: deepest first (a file's depth is one more than that of
// the file holding its reference node), files of one depth in the order they were added.
std::vector<int> edit_order(const Graph& graph);

}  // namespace scenegraph
