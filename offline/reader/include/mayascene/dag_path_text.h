// The texts of DAG paths as files write them: "|grp|shape", "grp|shape", ":grp" (a leading ':'
// names the root namespace). Shared by the reader's name lookup and the host's scene graph.
#pragma once

#include <string_view>

namespace mayascene {

// The last '|' component of a path and the part before it ("" when there is none).
inline std::string_view last_component(std::string_view path, std::string_view* rest) {
  const std::size_t bar = path.rfind('|');
  if (bar == std::string_view::npos) {
    *rest = std::string_view();
    return path;
  }
  *rest = path.substr(0, bar);
  return path.substr(bar + 1);
}

inline std::string_view without_root(std::string_view name) {
  if (!name.empty() && name.front() == ':') name.remove_prefix(1);
  return name;
}

// Whether the components of a partial path left above a file's top node (`rest`) are the last
// ones of that node's parent as the file writes it (`outside`, in another file or "" for none);
// an absolute path must name all of them.
bool rest_matches_outside_parent(std::string_view rest, std::string_view outside, bool absolute);

}  // namespace mayascene
