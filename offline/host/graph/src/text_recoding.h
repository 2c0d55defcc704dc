// Texts of a file in another code page, turned into the graph's UTF-8 as the file is added.
#pragma once

#include "mayascene/scene.h"
#include "scenegraph/graph.h"

namespace scenegraph {

// True when the bytes are valid UTF-8.
bool is_utf8(std::string_view bytes);

// Recodes every text of the scene that is not plain ASCII (that is not valid UTF-8, when the
// recoder keeps valid UTF-8 as it is).
void recode_scene(mayascene::Scene* scene, const TextRecoder& recoder);

}  // namespace scenegraph
