// createNode, rename, select and lockNode, and the node index behind them (nodes by name and
// by DAG path, the default nodes a scene has without creating them).
#include "statement_reader.h"

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

int Reader::find_node(const std::string& written) const { return names_.find(scene_, written); }

int Reader::add_node(std::string name, std::string type) {
  Node node;
  node.name = std::move(name);
  node.type = std::move(type);
  scene_.nodes.push_back(std::move(node));
  const int index = static_cast<int>(scene_.nodes.size()) - 1;
  names_.add(scene_.nodes.back().name, index);
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

// A node is in the DAG when its type is, when it has a parent, or when it is one: a node of a type
// this reader does not know still takes its place in the hierarchy.
void Reader::place_in_dag(int index) {
  Node& node = scene_.nodes[static_cast<std::size_t>(index)];
  if (node.parent >= 0) scene_.nodes[static_cast<std::size_t>(node.parent)].dag = true;
  node.dag = node.parent >= 0 || !node.parent_name.empty() || inherits(node.type, "dagNode");
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
      place_in_dag(existing);
      current_ = existing;
      return;
    }
  }
  const int parent = parent_name.empty() ? -1 : find_node(parent_name);  // before the node can match itself
  const int index = add_node(name, type);
  Node& node = scene_.nodes[static_cast<std::size_t>(index)];
  node.shared = shared;
  node.parent_name = parent_name;
  node.parent = parent;
  place_in_dag(index);
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
  names_.remove(node.name, target);
  node.name = strip_root(args.positionals.back().text);
  names_.add(node.name, target);
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
