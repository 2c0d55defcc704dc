#include "mayaascii/reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <initializer_list>
#include <unordered_map>

#include "mayaascii/names.h"

namespace mayaascii {

namespace {

bool is_flag(const Token& t) {
  return t.kind == TokenKind::Word && t.text.size() >= 2 && t.text[0] == '-' &&
         ((t.text[1] >= 'a' && t.text[1] <= 'z') || (t.text[1] >= 'A' && t.text[1] <= 'Z'));
}

bool is_identifier(const std::string& s) {
  if (s.empty()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const bool alpha = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
    if (!alpha && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

bool one_of(const std::string& s, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    if (s == n) return true;
  }
  return false;
}

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string strip_root(std::string name) {
  if (!name.empty() && name[0] == ':') name.erase(0, 1);
  return name;
}

// A word value as MEL reads it: boolean keywords, integers, reals; anything else stays text.
Value word_value(const std::string& w) {
  if (one_of(w, {"yes", "on", "true"})) return Value::boolean(true);
  if (one_of(w, {"no", "off", "false"})) return Value::boolean(false);
  if (!w.empty()) {
    const char* begin = w.c_str();
    char* end = nullptr;
    errno = 0;
    const long long n = std::strtoll(begin, &end, 10);
    if (*end == '\0' && errno == 0) return Value::integer(n);
    errno = 0;
    const double d = std::strtod(begin, &end);
    if (*end == '\0') return Value::real(d);
  }
  return Value::string(w);
}

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

const char* default_node_type(const std::string& name) {
  for (const DefaultNode& d : kDefaultNodes) {
    if (name == d.name) return d.type;
  }
  return nullptr;
}

// Flags and positional arguments of one statement. A flag takes the next token as its argument
// unless that token is a flag itself or the flag is one of the statement's argument-less flags.
struct Args {
  std::vector<std::pair<std::string, Token>> flags;
  std::vector<Token> positionals;

  const Token* flag(std::initializer_list<const char*> names) const {
    for (const auto& f : flags) {
      if (one_of(f.first, names)) return &f.second;
    }
    return nullptr;
  }
  bool has(std::initializer_list<const char*> names) const { return flag(names) != nullptr; }
};

Args parse_args(const std::vector<Token>& tokens, std::initializer_list<const char*> no_argument) {
  Args args;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (is_flag(tokens[i])) {
      const std::string name = tokens[i].text.substr(1);
      Token value;
      value.line = tokens[i].line;
      value.column = tokens[i].column;
      if (!one_of(name, no_argument) && i + 1 < tokens.size() && !is_flag(tokens[i + 1])) {
        value = tokens[++i];
      }
      args.flags.emplace_back(name, value);
    } else {
      args.positionals.push_back(tokens[i]);
    }
  }
  return args;
}

class Reader {
 public:
  Reader(Lexer& lexer, Scene& scene) : lex_(lexer), scene_(scene) {}

  void run() {
    read_header();
    for (;;) {
      Token t = next();
      if (t.kind == TokenKind::End) break;
      if (t.kind == TokenKind::Comment) {
        if (starts_with(trim(t.text), "End of")) ended_ = true;
        continue;
      }
      ended_ = false;
      if (t.kind == TokenKind::Semicolon) continue;  // an empty statement
      if (t.kind != TokenKind::Word || !is_identifier(t.text)) {
        lex_.fail(t.line, t.column, "expected a command name, found " + describe(t));
      }
      statement(t);
    }
    if (!ended_) {
      lex_.fail_here("unexpected end of file: no closing '// End of' line (the file is truncated)");
    }
    finish();
  }

 private:
  static std::string describe(const Token& t) {
    switch (t.kind) {
      case TokenKind::Word: return "'" + t.text.substr(0, 40) + "'";
      case TokenKind::String: return "a string";
      case TokenKind::Semicolon: return "';'";
      case TokenKind::LBrace: return "'{'";
      case TokenKind::RBrace: return "'}'";
      case TokenKind::Comma: return "','";
      case TokenKind::Comment: return "a comment";
      case TokenKind::End: return "the end of the file";
    }
    return "?";
  }

  void read_header() {
    Token first = lex_.next();
    if (first.kind != TokenKind::Comment || !starts_with(first.text, "Maya ASCII")) {
      lex_.fail(first.line, first.column, "not a Maya ASCII file: no '//Maya ASCII' header line");
    }
    std::string_view rest = trim(std::string_view(first.text).substr(10));
    scene_.maya_version = std::string(rest.substr(0, rest.find(' ')));
    // The other header comments come before the first statement; Codeset is the one that matters.
    for (;;) {
      Token t = lex_.next();
      if (t.kind != TokenKind::Comment || starts_with(trim(t.text), "End of")) {
        pending_ = t;
        has_pending_ = true;
        return;
      }
      const std::string_view text = trim(t.text);
      if (starts_with(text, "Codeset:")) {
        scene_.codeset = std::string(trim(text.substr(8)));
        lex_.set_encoding(double_byte_encoding(scene_.codeset));
      }
    }
  }

  Token next() {
    if (has_pending_) {
      has_pending_ = false;
      return pending_;
    }
    return lex_.next();
  }

  // The remaining tokens of a statement, up to its ';'.
  std::vector<Token> rest_of(const Token& command) {
    std::vector<Token> tokens;
    for (;;) {
      Token t = next();
      if (t.kind == TokenKind::Semicolon) return tokens;
      if (t.kind == TokenKind::End) truncated(command);
      if (t.kind == TokenKind::Comment) continue;
      tokens.push_back(std::move(t));
    }
  }

  [[noreturn]] void truncated(const Token& command) {
    lex_.fail(command.line, command.column,
              "unexpected end of file: the statement '" + command.text + "' has no closing ';'");
  }

  void statement(const Token& command) {
    const std::string& c = command.text;
    if (c == "setAttr") return set_attr(command);
    if (c == "createNode") return create_node(command, rest_of(command));
    if (c == "connectAttr") return connect_attr(command, rest_of(command));
    if (c == "disconnectAttr") return disconnect_attr(rest_of(command));
    if (c == "addAttr") return add_attr(rest_of(command));
    if (c == "rename") return rename(command, rest_of(command));
    if (c == "select") return select(rest_of(command));
    if (c == "lockNode") return lock_node(rest_of(command));
    if (c == "relationship") return relationship(rest_of(command));
    if (c == "requires") return requires_(command, rest_of(command));
    if (c == "fileInfo") return file_info(rest_of(command));
    if (c == "currentUnit") return current_unit(rest_of(command));
    if (c == "file") return file(rest_of(command));
    lex_.skip_statement(command);  // parent, dataStructure, applyMetadata, ... carry nothing needed
  }

  // ---- nodes ---------------------------------------------------------------------------------

  int find_node(const std::string& written) const {
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

  int add_node(std::string name, std::string type) {
    Node node;
    node.name = std::move(name);
    node.type = std::move(type);
    scene_.nodes.push_back(std::move(node));
    const int index = static_cast<int>(scene_.nodes.size()) - 1;
    by_name_[scene_.nodes.back().name].push_back(index);
    return index;
  }

  // A default node addressed before (or without) being created in the file.
  int default_node(const std::string& written) {
    const int found = find_node(written);
    if (found >= 0) return found;
    const std::string name = strip_root(written);
    const char* type = default_node_type(name);
    if (type == nullptr) return -1;
    const int index = add_node(name, type);
    scene_.nodes[static_cast<std::size_t>(index)].implicit = true;
    return index;
  }

  void make_dag(int index) {
    Node& node = scene_.nodes[static_cast<std::size_t>(index)];
    if (node.path.empty()) node.path = "|" + node.name;
  }

  void set_path(int index) {
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

  void create_node(const Token& command, const std::vector<Token>& tokens) {
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

  void rename(const Token& command, const std::vector<Token>& tokens) {
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

  void select(const std::vector<Token>& tokens) {
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

  void lock_node(const std::vector<Token>& tokens) {
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

  // ---- attributes ----------------------------------------------------------------------------

  void add_attr(const std::vector<Token>& tokens) {
    const Args args = parse_args(tokens, {"m", "multi", "im", "indexMatters", "uac", "usedAsColor",
                                           "uaf", "usedAsFilename", "iu", "internalSet", "r", "readable",
                                           "w", "writable", "s", "storable"});
    const int target = args.positionals.empty() ? current_ : find_node(args.positionals.back().text);
    if (target < 0) return;
    DynamicAttribute attr;
    if (const Token* sn = args.flag({"sn", "shortName"})) attr.short_name = sn->text;
    if (const Token* ln = args.flag({"ln", "longName"})) attr.long_name = ln->text;
    if (attr.short_name.empty()) attr.short_name = attr.long_name;
    if (attr.long_name.empty()) attr.long_name = attr.short_name;
    if (attr.long_name.empty()) return;
    const Token* at = args.flag({"at", "attributeType"});
    const Token* dt = args.flag({"dt", "dataType"});
    attr.type = at != nullptr ? at->text : dt != nullptr ? dt->text : std::string();
    const bool is_bool = attr.type == "bool";
    const bool is_integral = one_of(attr.type, {"long", "short", "byte", "enum", "char"});
    if (const Token* dv = args.flag({"dv", "defaultValue"})) {
      const Value v = word_value(dv->text);
      const double n = v.kind == Value::Kind::Int ? static_cast<double>(v.i) : v.kind == Value::Kind::Double ? v.d : 0;
      attr.has_default = true;
      attr.default_value = is_bool ? Value::boolean(n != 0)
                           : is_integral ? Value::integer(static_cast<std::int64_t>(n))
                                         : Value::real(n);
    } else if (is_bool) {
      attr.has_default = true;
      attr.default_value = Value::boolean(false);
    } else if (is_integral) {
      attr.has_default = true;
      attr.default_value = Value::integer(0);
    } else if (one_of(attr.type, {"float", "double", "doubleLinear", "doubleAngle", "time", "floatLinear",
                                  "floatAngle"})) {
      attr.has_default = true;
      attr.default_value = Value::real(0);
    }
    scene_.nodes[static_cast<std::size_t>(target)].dynamic.push_back(std::move(attr));
  }

  // Values are read token by token only while they are worth keeping; anything longer or of a
  // bulk data type is passed over by the lexer's scan for the closing ';'.
  void set_attr(const Token& command) {
    std::string path;
    bool have_path = false;
    std::string type;
    Token t;
    for (;;) {
      t = next();
      if (t.kind == TokenKind::End) truncated(command);
      if (t.kind == TokenKind::Semicolon) break;
      if (t.kind == TokenKind::Comment) continue;
      if (is_flag(t)) {
        const std::string flag = t.text.substr(1);
        if (one_of(flag, {"type", "typ"})) {
          const Token v = next();
          if (v.kind != TokenKind::String && v.kind != TokenKind::Word) {
            lex_.fail(v.line, v.column, "setAttr -type needs a type name, found " + describe(v));
          }
          type = v.text;
        } else if (one_of(flag, {"s", "size", "k", "keyable", "l", "lock", "cb", "channelBox", "ch",
                                 "capacityHint", "ca", "caching"})) {
          const Token v = next();
          if (v.kind != TokenKind::Word) lex_.fail(v.line, v.column, "setAttr -" + flag + " needs a value, found " + describe(v));
        }
        continue;
      }
      if (t.kind == TokenKind::String && !have_path) {
        path = t.text;
        have_path = true;
        continue;
      }
      break;
    }
    if (!have_path) lex_.fail(command.line, command.column, "setAttr without an attribute path");
    if (t.kind == TokenKind::Semicolon) return;  // size-only or flag-only

    int target = current_;
    std::string attr = path;
    if (path.empty() || path[0] != '.') {
      const std::size_t dot = path.find('.', path.rfind('|') == std::string::npos ? 0 : path.rfind('|'));
      if (dot == std::string::npos) lex_.fail(command.line, command.column, "setAttr path without an attribute: '" + path + "'");
      target = default_node(path.substr(0, dot));
      attr = path.substr(dot);
    }
    attr.erase(0, 1);
    // A range "a[1:3]" is kept only for a short list of plain scalars (renderLayerId and the like);
    // mesh and curve data arrive as ranges too and are skipped.
    long long first = 0;
    long long last = -1;
    const bool ranged = attr.find(':') != std::string::npos;
    if (ranged && !parse_range(attr, &first, &last)) return lex_.skip_statement(command);
    const bool wanted = target >= 0 && !attr.empty() &&
                        (ranged ? type.empty() && last - first < static_cast<long long>(kMaxStoredValues)
                                : type.empty() || one_of(type, {"string", "stringArray", "double2", "double3", "float2",
                                                                "float3", "long2", "long3", "short2", "short3", "matrix"}));
    if (!wanted) return lex_.skip_statement(command);

    std::vector<Token> values;
    for (;;) {
      if (t.kind == TokenKind::Semicolon) break;
      if (t.kind == TokenKind::End) truncated(command);
      if (t.kind != TokenKind::Comment) {
        if ((t.kind != TokenKind::Word && t.kind != TokenKind::String) || values.size() == kMaxStoredValues) {
          return lex_.skip_statement(command);
        }
        values.push_back(std::move(t));
      }
      t = next();
    }
    if (!ranged) return store(target, attr, type, values);
    if (values.size() != static_cast<std::size_t>(last - first + 1)) return;  // compound elements
    const std::string base = attr.substr(0, attr.rfind('['));
    for (long long i = first; i <= last; ++i) {
      store(target, base + "[" + std::to_string(i) + "]", type, {values[static_cast<std::size_t>(i - first)]});
    }
  }

  // "name[a:b]" at the end of an attribute path; false for any other use of ':'.
  static bool parse_range(const std::string& attr, long long* first, long long* last) {
    const std::size_t open = attr.rfind('[');
    if (open == std::string::npos || attr.back() != ']') return false;
    const std::string inside = attr.substr(open + 1, attr.size() - open - 2);
    const std::size_t colon = inside.find(':');
    if (colon == std::string::npos || inside.find(':', colon + 1) != std::string::npos) return false;
    const Value a = word_value(inside.substr(0, colon));
    const Value b = word_value(inside.substr(colon + 1));
    if (a.kind != Value::Kind::Int || b.kind != Value::Kind::Int || a.i < 0 || b.i < a.i) return false;
    *first = a.i;
    *last = b.i;
    return true;
  }

  void store(int target, const std::string& attr, const std::string& type, const std::vector<Token>& values) {
    Node& node = scene_.nodes[static_cast<std::size_t>(target)];
    Value value;
    if (type == "string") {
      if (values[0].kind != TokenKind::String) {
        lex_.fail(values[0].line, values[0].column, "setAttr -type \"string\" needs a string value");
      }
      value = Value::string(values[0].text);
    } else if (type == "stringArray") {
      value.kind = Value::Kind::StringArray;
      for (std::size_t i = 1; i < values.size(); ++i) value.items.push_back(Value::string(values[i].text));
    } else {
      const bool real = !type.empty() && (type[0] == 'd' || type[0] == 'f' || type == "matrix");
      for (const Token& v : values) {
        Value item = v.kind == TokenKind::String ? Value::string(v.text) : word_value(v.text);
        if (real && item.kind == Value::Kind::Int) item = Value::real(static_cast<double>(item.i));
        value.items.push_back(std::move(item));
      }
      if (value.items.size() == 1) {
        value = value.items[0];
        // A whole number written for a real or boolean attribute reads back as Maya stores it.
        if (const AttributeInfo* info = find_attribute(node.type, attr.substr(0, attr.find('[')))) {
          if (value.kind == Value::Kind::Int && info->kind == AttributeInfo::Default::Double) {
            value = Value::real(static_cast<double>(value.i));
          } else if (value.kind == Value::Kind::Int && info->kind == AttributeInfo::Default::Bool) {
            value = Value::boolean(value.i != 0);
          }
        }
      } else {
        value.kind = Value::Kind::Tuple;
      }
    }
    node.attrs[canonical_path(node.type, attr, node.dynamic)] = std::move(value);
  }

  // ---- connections and the rest --------------------------------------------------------------

  void connect_attr(const Token& command, const std::vector<Token>& tokens) {
    const Args args = parse_args(tokens, {"na", "nextAvailable", "f", "force"});
    if (args.positionals.size() < 2) lex_.fail(command.line, command.column, "connectAttr needs two plugs");
    Connection c;
    c.source = strip_root(args.positionals[0].text);
    c.destination = strip_root(args.positionals[1].text);
    if (args.has({"na", "nextAvailable"}) && c.destination.back() != ']') {
      const int index = next_available_[c.destination]++;
      c.destination += "[" + std::to_string(index) + "]";
    }
    scene_.connections.push_back(std::move(c));
  }

  void disconnect_attr(const std::vector<Token>& tokens) {
    const Args args = parse_args(tokens, {"na", "nextAvailable"});
    if (args.positionals.size() < 2) return;
    const std::string source = strip_root(args.positionals[0].text);
    const std::string destination = strip_root(args.positionals[1].text);
    auto& list = scene_.connections;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const Connection& c) { return c.source == source && c.destination == destination; }),
               list.end());
  }

  void relationship(const std::vector<Token>& tokens) {
    if (tokens.empty()) return;
    Relationship r;
    r.kind = tokens[0].text;
    for (std::size_t i = 1; i < tokens.size(); ++i) r.members.push_back(strip_root(tokens[i].text));
    scene_.relationships.push_back(std::move(r));
  }

  void requires_(const Token& command, const std::vector<Token>& tokens) {
    const Args args = parse_args(tokens, {});
    if (args.positionals.empty()) lex_.fail(command.line, command.column, "requires without a plug-in name");
    const std::string version = args.positionals.size() >= 2 ? args.positionals[1].text : std::string();
    if (args.positionals[0].kind == TokenKind::Word && args.positionals[0].text == "maya") {
      scene_.required_maya = version;
      return;
    }
    Requirement r;
    r.plugin = args.positionals[0].text;
    r.version = version;
    for (const auto& f : args.flags) {
      if (one_of(f.first, {"nodeType", "nt"})) r.node_types.push_back(f.second.text);
      if (one_of(f.first, {"dataType", "dt"})) r.data_types.push_back(f.second.text);
    }
    scene_.requires_.push_back(std::move(r));
  }

  void file_info(const std::vector<Token>& tokens) {
    const Args args = parse_args(tokens, {});
    if (args.positionals.size() >= 2 && args.flags.empty()) {
      scene_.file_info.emplace_back(args.positionals[0].text, args.positionals[1].text);
    }
  }

  void current_unit(const std::vector<Token>& tokens) {
    const Args args = parse_args(tokens, {});
    for (const auto& f : args.flags) {
      if (one_of(f.first, {"l", "linear"})) scene_.units["linear"] = f.second.text;
      if (one_of(f.first, {"a", "angle"})) scene_.units["angle"] = f.second.text;
      if (one_of(f.first, {"t", "time"})) scene_.units["time"] = f.second.text;
    }
  }

  void file(const std::vector<Token>& tokens) {
    const Args args = parse_args(tokens, {"r", "reference", "iv", "ignoreVersion", "f", "force", "gl",
                                           "groupLocator", "i", "import", "dns", "defaultNamespace"});
    const Token* depth = args.flag({"rdi", "referenceDepthInfo"});
    const bool top = args.has({"r", "reference"});
    if ((depth == nullptr && !top) || args.positionals.empty()) return;
    Reference ref;
    ref.path = args.positionals.back().text;
    ref.top_level = top;
    if (depth != nullptr) {
      const Value v = word_value(depth->text);
      ref.depth = v.kind == Value::Kind::Int ? static_cast<int>(v.i) : 0;
    }
    if (const Token* ns = args.flag({"ns", "namespace"})) ref.ns = ns->text;
    if (const Token* rfn = args.flag({"rfn", "referenceNode"})) ref.reference_node = rfn->text;
    if (const Token* typ = args.flag({"typ", "type"})) ref.type = typ->text;
    if (const Token* op = args.flag({"op", "options"})) ref.options = op->text;
    if (const Token* dr = args.flag({"dr", "deferReference"})) ref.deferred = dr->text == "1" || dr->text == "true";
    scene_.references.push_back(std::move(ref));
  }

  void finish() {
    for (const char* name : {"defaultRenderGlobals", "defaultResolution", "renderLayerManager", "defaultRenderLayer"}) {
      if (find_node(name) < 0) {
        const int index = default_node(name);
        if (std::string(name) == "defaultRenderLayer") {
          scene_.nodes[static_cast<std::size_t>(index)].attrs["global"] = Value::boolean(true);
        }
      }
    }
    // Plugs read back with long attribute names, as Maya lists them.
    for (Connection& c : scene_.connections) {
      for (std::string* plug : {&c.source, &c.destination}) {
        const std::size_t bar = plug->rfind('|');
        const std::size_t dot = plug->find('.', bar == std::string::npos ? 0 : bar);
        if (dot == std::string::npos) continue;
        const std::string name = plug->substr(0, dot);
        const int n = find_node(name);
        if (n >= 0) {
          const Node& node = scene_.nodes[static_cast<std::size_t>(n)];
          *plug = name + "." + canonical_path(node.type, plug->substr(dot + 1), node.dynamic);
        } else if (const char* type = default_node_type(name)) {  // a default node the file never edits
          *plug = name + "." + canonical_path(type, plug->substr(dot + 1), {});
        }
      }
    }
  }

  Lexer& lex_;
  Scene& scene_;
  int current_ = -1;
  bool ended_ = false;
  Token pending_;
  bool has_pending_ = false;
  std::unordered_map<std::string, std::vector<int>> by_name_;
  std::unordered_map<std::string, int> next_available_;
};

}  // namespace

Scene read_source(Source& source, const std::string& name, std::size_t chunk_size) {
  Scene scene;
  scene.file = name;
  Lexer lexer(source, name, chunk_size);
  Reader(lexer, scene).run();
  return scene;
}

Scene read_file(const std::string& path) {
  FileSource source(path);
  return read_source(source, path);
}

Scene read_text(std::string_view text, const std::string& name) {
  MemorySource source(text);
  return read_source(source, name);
}

}  // namespace mayaascii
