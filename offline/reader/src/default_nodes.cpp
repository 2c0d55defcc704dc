#include "default_nodes.h"

#include "mayascene/dag_path_text.h"
#include "mayascene/names.h"

namespace mayascene {
namespace detail {

namespace {

struct DefaultNode {
  const char* name;
  const char* type;
};
constexpr DefaultNode kDefaultNodes[] = {
    {"defaultRenderGlobals", "renderGlobals"},
    {"defaultResolution", "resolution"},
    {"renderLayerManager", "renderLayerManager"},
    {"defaultRenderLayer", "renderLayer"},
    {"time1", "time"},
    {"sequenceManager1", "sequenceManager"},
    {"hardwareRenderingGlobals", "hardwareRenderingGlobals"},
    {"renderPartition", "partition"},
    {"renderGlobalsList1", "renderGlobalsList"},
    {"defaultLightList1", "defaultLightList"},
    {"lightList1", "lightList"},
    {"defaultShaderList1", "defaultShaderList"},
    {"defaultTextureList1", "defaultTextureList"},
    {"postProcessList1", "postProcessList"},
    {"defaultRenderUtilityList1", "defaultRenderUtilityList"},
    {"defaultRenderingList1", "defaultRenderingList"},
    {"initialShadingGroup", "shadingEngine"},
    {"initialParticleSE", "shadingEngine"},
    {"initialMaterialInfo", "materialInfo"},
    {"defaultLightSet", "objectSet"},
    {"defaultObjectSet", "objectSet"},
    {"lambert1", "lambert"},
    {"standardSurface1", "standardSurface"},
    {"particleCloud1", "particleCloud"},
    {"shaderGlow1", "shaderGlow"},
    {"defaultHardwareRenderGlobals", "hwRenderGlobals"},
    {"defaultRenderQuality", "renderQuality"},
    {"defaultColorMgtGlobals", "colorManagementGlobals"},
    {"hyperGraphLayout", "hyperLayout"},
    {"globalCacheControl", "globalCacheControl"},
    {"strokeGlobals", "strokeGlobals"},
    {"ikSystem", "ikSystem"},
    {"characterPartition", "partition"},
    {"defaultViewColorManager", "viewColorManager"},
    {"dof1", "dof"},
};

}  // namespace

const char* default_node_type(const std::string& name) {
  for (const DefaultNode& d : kDefaultNodes) {
    if (name == d.name) return d.type;
  }
  return nullptr;
}

int add_node(Scene& scene, NameIndex& names, std::string_view name, std::string_view type) {
  Node node;
  node.name = scene.texts.keep(name);
  node.type = scene.texts.intern(type);
  scene.nodes.push_back(std::move(node));
  const int index = static_cast<int>(scene.nodes.size()) - 1;
  names.add(scene.nodes.back().name, index);
  return index;
}

Text parent_text(Scene& scene, int parent, std::string_view written) {
  if (parent >= 0 && scene.nodes[static_cast<std::size_t>(parent)].name == written) {
    return scene.nodes[static_cast<std::size_t>(parent)].name;
  }
  return scene.texts.keep_repeated(written);
}

int default_node(Scene& scene, NameIndex& names, std::string_view written) {
  const int found = names.find(scene, written);
  if (found >= 0) return found;
  const std::string name(without_root(written));
  const char* type = default_node_type(name);
  if (type == nullptr) return -1;
  const int index = add_node(scene, names, name, type);
  scene.nodes[static_cast<std::size_t>(index)].implicit = true;
  return index;
}

int selected_node(Scene& scene, NameIndex& names, const std::string& written) {
  const int index = default_node(scene, names, written);
  if (index >= 0 || written.size() < 2 || written[0] != ':') return index;
  const std::string name(without_root(written));
  if (name.find(':') != std::string::npos) return -1;
  const int added = add_node(scene, names, name, "unknown");  // a default node this table lacks
  scene.nodes[static_cast<std::size_t>(added)].implicit = true;
  return added;
}

void finish_scene(Scene& scene, NameIndex& names) {
  for (const char* name : {"defaultRenderGlobals", "defaultResolution", "renderLayerManager", "defaultRenderLayer"}) {
    if (names.find(scene, name) < 0) {
      const int index = default_node(scene, names, name);
      if (std::string(name) == "defaultRenderLayer") {
        scene.nodes[static_cast<std::size_t>(index)].attrs.set("global", Value::boolean(true));
      }
    }
  }
  for (Connection& c : scene.connections) {
    // views of the arena, whose bytes stay where they are while nodes are added
    const std::string_view plugs[2] = {c.source(), c.destination()};
    std::string renamed[2];
    bool changed = false;
    for (int end = 0; end < 2; ++end) {
      const std::string_view plug = plugs[end];
      const std::size_t bar = plug.rfind('|');
      const std::size_t dot = plug.find('.', bar == std::string_view::npos ? 0 : bar);
      if (dot == std::string_view::npos) continue;
      const std::string_view attr = plug.substr(dot + 1);
      // A default node the file connects to but never edits exists all the same, as in Maya.
      const int n = default_node(scene, names, plug.substr(0, dot));
      if (n < 0) continue;
      const Node& node = scene.nodes[static_cast<std::size_t>(n)];
      const std::string canonical = canonical_path(node.type, attr, node.dynamic);
      if (canonical != attr) {
        renamed[end].assign(plug.substr(0, dot + 1)).append(canonical);
        changed = true;
      }
    }
    if (changed) {
      c = Connection(scene.texts, renamed[0].empty() ? plugs[0] : std::string_view(renamed[0]),
                     renamed[1].empty() ? plugs[1] : std::string_view(renamed[1]));
    }
  }
  // Values set again replace the earlier ones; iteration goes by attribute path.
  for (Node& node : scene.nodes) node.attrs.normalize();
}

}  // namespace detail
}  // namespace mayascene
