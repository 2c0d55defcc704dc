// createNode, rename, select and lockNode, and the node index behind them (nodes by name and
// by DAG path, the default nodes a scene has without creating them).
#include "statement_reader.h"

#include <algorithm>

#include "mayascene/names.h"

namespace mayascene {
namespace detail {

namespace {

// Nodes that every Maya scene has without creating them in the file; `select -ne :name` and
// absolute setAttr address them.
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

int Reader::find_node(const std::string& written) const {
  const std::string name = strip_root(written);
  if (name.find('|') != std::string::npos) {
    const bool absolute = name[0] == '|';
    const auto it = by_name_.find(name.substr(name.rfind('|') + 1));
    if (it == by_name_.end()) return -1;
    for (auto candidate = it->second.rbegin(); candidate != it->second.rend(); ++candidate) {
      const int i = *candidate;
      const std::string& path = scene_.nodes[static_cast<std::size_t>(i)].path;
      if (absolute ? path == name
                   : (path.size() > name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0 &&
                      path[path.size() - name.size() - 1] == '|')) {
        return i;
      }
    }
    return -1;
  }
  const auto it = by_name_.find(name);
  return it == by_name_.end() || it->second.empty() ? -1 : it->second.back();
}

int Reader::add_node(std::string name, std::string type) {
  Node node;
  node.name = std::move(name);
  node.type = std::move(type);
  scene_.nodes.push_back(std::move(node));
  const int index = static_cast<int>(scene_.nodes.size()) - 1;
  by_name_[scene_.nodes.back().name].push_back(index);
  return index;
}

int Reader::default_node(const std::string& written) {
  const int found = find_node(written);
  if (found >= 0) return found;
  const std::string name = strip_root(written);
  const char* type = default_node_type(name);
  if (type == nullptr) return -1;
  const int index = add_node(name, type);
  scene_.nodes[static_cast<std::size_t>(index)].implicit = true;
  return index;
}

void Reader::make_dag(int index) {
  Node& node = scene_.nodes[static_cast<std::size_t>(index)];
  if (node.path.empty()) node.path = "|" + node.name;
}

void Reader::set_path(int index) {
  Node& node = scene_.nodes[static_cast<std::size_t>(index)];
  if (node.parent >= 0) {
    make_dag(node.parent);
    node.path = scene_.nodes[static_cast<std::size_t>(node.parent)].path + "|" + node.name;
  } else if (!node.parent_name.empty()) {
    // A parent from a referenced file: its path is what the file wrote.
    const std::string parent = strip_root(node.parent_name);
    node.path = (parent[0] == '|' ? parent : "|" + parent) + "|" + node.name;
  } else if (inherits(node.type, "dagNode")) {
    node.path = "|" + node.name;
  } else {
    node.path.clear();
  }
}

void Reader::create_node(const Token& command, const std::vector<Token>& tokens) {
  const Args args = parse_args(tokens, {"s", "shared", "ss", "skipSelect"});
  if (args.positionals.empty()) lex_.fail(command.line, command.column, "createNode without a node type");
  const std::string& type = args.positionals[0].text;
  const Token* name_flag = args.flag({"n", "name"});
  std::string name = name_flag != nullptr && !name_flag->text.empty() ? name_flag->text : type + "1";
  const Token* parent_flag = args.flag({"p", "parent"});
  const std::string parent_name = parent_flag != nullptr ? parent_flag->text : std::string();
  const bool shared = args.has({"s", "shared"});

  if (parent_name.empty()) {
    const int existing = find_node(name);
    if (existing >= 0 && (shared || scene_.nodes[static_cast<std::size_t>(existing)].implicit)) {
      Node& node = scene_.nodes[static_cast<std::size_t>(existing)];
      node.implicit = false;
      node.shared = node.shared || shared;
      node.type = type;
      current_ = existing;
      return;
    }
  }
  const int index = add_node(name, type);
  Node& node = scene_.nodes[static_cast<std::size_t>(index)];
  node.shared = shared;
  node.parent_name = parent_name;
  node.parent = parent_name.empty() ? -1 : find_node(parent_name);
  set_path(index);
  current_ = index;
}

void Reader::rename(const Token& command, const std::vector<Token>& tokens) {
  const Args args = parse_args(tokens, {"is", "ignoreShape"});
  if (const Token* uid = args.flag({"uid", "uuid"})) {
    const int target = args.positionals.empty() ? current_ : find_node(args.positionals[0].text);
    if (target >= 0) scene_.nodes[static_cast<std::size_t>(target)].uuid = uid->text;
    return;
  }
  if (args.positionals.empty()) lex_.fail(command.line, command.column, "rename without a name");
  const int target = args.positionals.size() >= 2 ? find_node(args.positionals[0].text) : current_;
  if (target < 0) return;
  Node& node = scene_.nodes[static_cast<std::size_t>(target)];
  auto& old_slot = by_name_[node.name];
  old_slot.erase(std::remove(old_slot.begin(), old_slot.end(), target), old_slot.end());
  const std::string old_path = node.path;
  node.name = strip_root(args.positionals.back().text);
  by_name_[node.name].push_back(target);
  if (old_path.empty()) return;
  set_path(target);
  for (std::size_t i = 0; i < scene_.nodes.size(); ++i) {  // children follow the renamed node
    if (static_cast<int>(i) != target && starts_with(scene_.nodes[i].path, old_path + "|")) set_path(static_cast<int>(i));
  }
}

void Reader::select(const std::vector<Token>& tokens) {
  const Args args = parse_args(tokens, {"ne", "noExpand", "r", "replace", "add", "af", "addFirst", "d",
                                         "deselect", "tgl", "toggle", "cl", "clear", "hi", "hierarchy",
                                         "all", "adn", "allDependencyNodes", "ado", "allDagObjects"});
  current_ = -1;
  if (args.positionals.empty()) return;
  const std::string& name = args.positionals[0].text;
  current_ = default_node(name);
  if (current_ < 0 && strip_root(name).find(':') == std::string::npos && !name.empty() && name[0] == ':') {
    // A root-namespace default node this reader has no table entry for.
    current_ = add_node(strip_root(name), "unknown");
    scene_.nodes[static_cast<std::size_t>(current_)].implicit = true;
  }
}

void Reader::lock_node(const std::vector<Token>& tokens) {
  const Args args = parse_args(tokens, {"ic", "ignoreComponents"});
  bool lock = true;
  if (const Token* l = args.flag({"l", "lock"})) {
    const Value v = word_value(l->text);
    lock = v.kind == Value::Kind::Bool ? v.b : v.kind == Value::Kind::Int ? v.i != 0 : true;
  }
  if (args.positionals.empty()) {
    if (current_ >= 0) scene_.nodes[static_cast<std::size_t>(current_)].locked = lock;
    return;
  }
  for (const Token& t : args.positionals) {
    const int n = find_node(t.text);
    if (n >= 0) scene_.nodes[static_cast<std::size_t>(n)].locked = lock;
  }
}

}  // namespace detail
}  // namespace mayascene
