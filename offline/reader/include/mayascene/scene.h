// Scene model built by the Maya ASCII reader: what the offline command layer answers from.
// All texts are bytes in the scene's code page (see Scene::codeset); decoding is left to the caller.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace mayascene {

// A stored attribute value. Only what the command layer can be asked for is kept: scalars, strings,
// string arrays and short tuples of those.
struct Value {
  enum class Kind { Bool, Int, Double, String, StringArray, Tuple };
  Kind kind = Kind::Int;
  bool b = false;
  std::int64_t i = 0;
  double d = 0.0;
  std::string s;              // String; also the bare word of a Tuple item that is no number
  std::vector<Value> items;   // StringArray (String items) and Tuple

  static Value boolean(bool v);
  static Value integer(std::int64_t v);
  static Value real(double v);
  static Value string(std::string v);
  bool operator==(const Value& o) const;
};

struct DynamicAttribute {
  std::string short_name;
  std::string long_name;
  std::string type;           // -at or -dt value
  bool has_default = false;
  Value default_value;
};

struct Node {
  std::string name;
  std::string type;
  std::string parent_name;    // the -p argument as written ("" when none)
  int parent = -1;            // index of the parent node when it is in this file
  std::string path;           // full DAG path ("" for a node outside the DAG)
  bool shared = false;        // created with -s
  bool implicit = false;      // never created in the file (a default node Maya always has)
  bool locked = false;
  std::string uuid;
  // Attribute values keyed by the attribute path with long names where the name is known
  // ("fileTextureName", "fileNames[0]", "renderLayerInfo[0]").
  std::map<std::string, Value> attrs;
  std::vector<DynamicAttribute> dynamic;
};

struct Connection {
  std::string source;         // "node.attr" with the leading root-namespace ':' removed
  std::string destination;
};

struct Requirement {
  std::string plugin;
  std::string version;
  std::vector<std::string> node_types;
  std::vector<std::string> data_types;
};

struct Reference {
  std::string path;           // as written
  std::string ns;
  std::string reference_node;
  std::string type;           // -typ
  std::string options;        // -op
  int depth = 0;              // -rdi N; 0 for a `file -r` line
  bool top_level = false;     // a `file -r` line
  bool deferred = false;      // -dr 1
};

struct Relationship {
  std::string kind;
  std::vector<std::string> members;
};

struct Scene {
  std::string file;           // the path it was read from
  std::string maya_version;   // from "//Maya ASCII <v> scene"
  std::string codeset;        // from "//Codeset: <c>" ("" when absent)
  std::string required_maya;  // requires maya "<v>"
  std::vector<Requirement> requires_;
  std::map<std::string, std::string> units;  // linear, angle, time
  std::vector<std::pair<std::string, std::string>> file_info;
  std::vector<Reference> references;
  std::vector<Node> nodes;    // file order; implicit default nodes last
  std::vector<Connection> connections;
  std::vector<Relationship> relationships;
};

}  // namespace mayascene
