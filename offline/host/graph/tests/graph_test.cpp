#include <gtest/gtest.h>

#include <string>

#include "mayascene/reader.h"
#include "scenegraph/graph.h"

namespace scenegraph {
namespace {

mayascene::Scene scene_of(const std::string& body, const std::string& name = "t.ma") {
  return mayascene::read_text("//Maya ASCII 2025ff03 scene\n//Codeset: UTF-8\n" + body + "// End of " + name + "\n", name);
}

FileOptions in_namespace(const std::string& ns, const std::string& rn = "") { return FileOptions{ns, "", rn}; }

NodeId id(const Graph& g, const std::string& name) {
  const Found found = g.find(name);
  EXPECT_FALSE(found.ambiguous) << name;
  EXPECT_NE(found.node, kNoNode) << name;
  return found.node;
}

std::vector<std::string> names(const Graph& g, const std::vector<NodeId>& nodes) {
  std::vector<std::string> out;
  for (const NodeId n : nodes) out.push_back(g.name(n));
  return out;
}

const char kShot[] =
    "file -rdi 1 -ns \"chair\" -rfn \"chairRN\" \"chair.ma\";\n"
    "file -r -ns \"chair\" -dr 1 -rfn \"chairRN\" \"chair.ma\";\n"
    "createNode transform -s -n \"persp\";\n"
    "createNode camera -s -n \"perspShape\" -p \"persp\";\n"
    "createNode reference -n \"chairRN\";\n"
    "createNode transform -n \"extra\" -p \"|chair:grp\";\n"
    "createNode lambert -n \"shotShader\";\n"
    "createNode lightLinker -s -n \"lightLinker1\";\n"
    "connectAttr \"chair:file3.oc\" \"shotShader.c\";\n"
    "connectAttr \"chair:gone.msg\" \"shotShader.c\";\n";

const char kChair[] =
    "createNode transform -s -n \"persp\";\n"
    "createNode camera -s -n \"perspShape\" -p \"persp\";\n"
    "createNode transform -n \"grp\";\n"
    "createNode transform -n \"geo\" -p \"grp\";\n"
    "createNode mesh -n \"geoShape\" -p \"|grp|geo\";\n"
    "createNode file -n \"file3\";\n"
    "createNode lambert -n \"lambert2\";\n"
    "createNode lightLinker -s -n \"lightLinker1\";\n"
    "select -ne :defaultRenderGlobals;\n\tsetAttr \".ren\" -type \"string\" \"vray\";\n"
    "connectAttr \"file3.oc\" \"lambert2.c\";\n"
    "connectAttr \"lightLinker1.msg\" \"|grp|geo|geoShape.iog\";\n"
    "connectAttr \":defaultRenderGlobals.msg\" \"lambert2.ic\";\n";

TEST(GraphTest, NamesReferencedNodesUnderTheirNamespace) {
  Graph g;
  EXPECT_EQ(g.add_scene(scene_of(kShot), {}), 0);
  EXPECT_EQ(g.find("chair:grp").node, kNoNode);
  EXPECT_EQ(g.path(id(g, "extra")), "|chair:grp|extra");  // its parent is not loaded yet
  EXPECT_EQ(g.add_scene(scene_of(kChair, "chair.ma"), in_namespace("chair", "chairRN")), 1);

  EXPECT_EQ(g.name(id(g, "chair:geo")), "chair:geo");
  EXPECT_EQ(g.path(id(g, "chair:geoShape")), "|chair:grp|chair:geo|chair:geoShape");
  EXPECT_EQ(g.file_of(id(g, "chair:geoShape")), 1);
  // A parent written in the shot links to the referenced node once it is there.
  EXPECT_EQ(g.parent(id(g, "extra")), id(g, "chair:grp"));
  EXPECT_EQ(names(g, g.children(id(g, "chair:grp"))), (std::vector<std::string>{"chair:geo", "extra"}));
  EXPECT_EQ(g.path(id(g, "extra")), "|chair:grp|extra");
  EXPECT_EQ(id(g, "|chair:grp|chair:geo"), id(g, "chair:geo"));
  EXPECT_EQ(id(g, "chair:geo|chair:geoShape"), id(g, ":chair:geoShape"));
  EXPECT_EQ(g.find("|chair:geo").node, kNoNode);  // not a top node

  // Shared nodes and default nodes are the root's, once.
  EXPECT_EQ(g.find("chair:persp").node, kNoNode);
  EXPECT_EQ(g.find("chair:lightLinker1").node, kNoNode);
  EXPECT_EQ(g.file_of(id(g, "perspShape")), 0);
  EXPECT_EQ(g.find("chair:defaultRenderGlobals").node, kNoNode);
  EXPECT_EQ(g.nodes_named("persp").size(), 1u);
}

TEST(GraphTest, ConnectsPlugsWrittenInEachFilesFrame) {
  Graph g;
  g.add_scene(scene_of(kShot), {});
  g.add_scene(scene_of(kChair, "chair.ma"), in_namespace("chair"));
  auto plugs = [&](const std::string& node) {
    std::vector<std::string> out;
    for (const Graph::Connection& c : g.connections_of(id(g, node))) {
      for (const Graph::PlugEnd* end : {&c.source, &c.destination}) {
        out.push_back((end->node == kNoNode ? end->node_text : g.name(end->node)) + "." + std::string(end->attr));
      }
    }
    return out;
  };
  // The shot's plug "chair:file3.oc" reaches the referenced node, its name read with the
  // referenced node's own attribute names; the reference's own plugs are in its namespace.
  EXPECT_EQ(plugs("chair:file3"), (std::vector<std::string>{"chair:file3.outColor", "shotShader.c",
                                                            "chair:file3.outColor", "chair:lambert2.c"}));
  EXPECT_EQ(plugs("shotShader"), (std::vector<std::string>{"chair:file3.outColor", "shotShader.c",
                                                           "chair:gone.msg", "shotShader.c"}));
  EXPECT_EQ(plugs("lightLinker1"), (std::vector<std::string>{"lightLinker1.message", "chair:geoShape.instObjGroups"}));
  EXPECT_EQ(plugs("chair:lambert2")[2], "defaultRenderGlobals.message");
}

TEST(GraphTest, RenamingPrefixAndNestedNamespaces) {
  Graph g;
  g.add_scene(scene_of("createNode transform -n \"root\";\n"), {});
  g.add_scene(scene_of("createNode transform -n \"sun\";\ncreateNode mesh -n \"sunShape\" -p \"sun\";\n"),
              FileOptions{"", "solar", ""});
  g.add_scene(scene_of("createNode transform -n \"lamp:bulb\";\n"), in_namespace(":house:lamp:"));
  EXPECT_EQ(g.path(id(g, "solar_sunShape")), "|solar_sun|solar_sunShape");
  EXPECT_EQ(g.name(id(g, "house:lamp:lamp:bulb")), "house:lamp:lamp:bulb");
  EXPECT_EQ(g.qualify(1, "|sun|sunShape"), "|solar_sun|solar_sunShape");
  EXPECT_EQ(g.qualify(2, ":time1"), "time1");
}

TEST(GraphTest, ParentsOutsideTheGraphKeepTheirWrittenName) {
  Graph g;
  g.add_scene(scene_of("createNode transform -n \"shotCam\" -p \"cam:rig\";\n"
                       "createNode camera -n \"shotCamShape\" -p \"shotCam\";\n"),
              {});
  const NodeId shape = id(g, "shotCamShape");
  EXPECT_EQ(g.path(shape), "|cam:rig|shotCam|shotCamShape");
  EXPECT_EQ(g.outside_parent(id(g, "shotCam")), "cam:rig");
  EXPECT_EQ(id(g, "cam:rig|shotCam"), id(g, "shotCam"));
  EXPECT_EQ(id(g, "|cam:rig|shotCam"), id(g, "shotCam"));
  EXPECT_EQ(g.find("|shotCam").node, kNoNode);
  EXPECT_EQ(g.display_name(shape), "shotCamShape");
}

TEST(GraphTest, ParentsWrittenAcrossFilesNeverMakeACycle) {
  Graph g;
  g.add_scene(scene_of("createNode transform -n \"a\" -p \"r:b\";\n"), {});
  g.add_scene(scene_of("createNode transform -n \"b\" -p \":a\";\n"), in_namespace("r"));
  const NodeId a = id(g, "a");
  const NodeId b = id(g, "r:b");
  EXPECT_EQ(g.parent(a), b);
  EXPECT_EQ(g.parent(b), kNoNode);
  EXPECT_EQ(g.path(a), "|a|r:b|a");  // b's written parent stays as written
  EXPECT_FALSE(g.set_parent(b, a));
  EXPECT_TRUE(g.set_parent(a, kNoNode));
  EXPECT_TRUE(g.set_parent(b, a));
  EXPECT_EQ(g.path(b), "|r:b|a|r:b");
}

struct DisplayCase {
  const char* node;  // a full path
  const char* display;
};

TEST(GraphTest, DisplayNamesAreTheShortestUniquePaths) {
  Graph g;
  g.add_scene(scene_of("createNode transform -n \"a\";\ncreateNode transform -n \"b\" -p \"a\";\n"
                       "createNode transform -n \"x\";\ncreateNode transform -n \"a\" -p \"x\";\n"
                       "createNode transform -n \"b\" -p \"|x|a\";\n"
                       "createNode transform -n \"p\";\ncreateNode transform -n \"q\" -p \"p\";\n"
                       "createNode transform -n \"b\" -p \"|p|q\";\n"
                       "createNode transform -n \"r\";\ncreateNode transform -n \"q\" -p \"r\";\n"
                       "createNode transform -n \"b\" -p \"|r|q\";\n"
                       "createNode transform -n \"s\";\ncreateNode transform -n \"b\" -p \"s\";\n"
                       "createNode transform -n \"only\" -p \"s\";\ncreateNode file -n \"b\";\n"),
              {});
  const DisplayCase cases[] = {{"|a|b", "|a|b"},   {"|x|a|b", "x|a|b"}, {"|p|q|b", "p|q|b"}, {"|r|q|b", "r|q|b"},
                               {"|s|b", "s|b"},    {"|s|only", "only"}, {"|a", "|a"},      {"|x|a", "x|a"},
                               {"|p|q", "p|q"},    {"|x", "x"}};
  for (const DisplayCase& c : cases) {
    EXPECT_EQ(g.display_name(id(g, c.node)), c.display) << c.node;
    EXPECT_EQ(g.display_name(id(g, c.node), true), c.node);
  }
  EXPECT_TRUE(g.find("b").ambiguous);
  EXPECT_EQ(g.nodes_named("b").size(), 6u);
  EXPECT_EQ(g.nodes_named("q|b").size(), 2u);
}

TEST(GraphTest, DeepChainsCostTheirLength) {
  std::string body = "createNode joint -n \"joint1\";\n";
  for (int i = 2; i <= 10000; ++i) {
    body += "createNode joint -n \"joint" + std::to_string(i) + "\" -p \"joint" + std::to_string(i - 1) + "\";\n";
  }
  Graph g;
  g.add_scene(scene_of(body), {});
  const NodeId last = id(g, "joint10000");
  EXPECT_EQ(g.display_name(last), "joint10000");
  EXPECT_EQ(g.path(last).size(), 10000u + 9u + 90u * 2 + 900u * 3 + 9000u * 4 + 1u * 5 + 10000u * 5);
  EXPECT_EQ(id(g, "joint9999|joint10000"), last);
}

TEST(GraphTest, TypesIncludeDerivedTypes) {
  Graph g;
  g.add_scene(scene_of("createNode camera -n \"c\";\ncreateNode stereoRigCamera -n \"s\";\ncreateNode file -n \"f\";\n"
                       "createNode psdFileTex -n \"p\";\ncreateNode myPluginNode -n \"m\";\n"),
              {});
  EXPECT_EQ(names(g, g.nodes_of_types({"camera"})), (std::vector<std::string>{"c", "s"}));
  EXPECT_EQ(names(g, g.nodes_of_types({"texture2d", "myPluginNode"})), (std::vector<std::string>{"f", "p", "m"}));
  EXPECT_TRUE(g.nodes_of_types({"aiStandIn"}).empty());
  EXPECT_TRUE(g.is_type(id(g, "s"), "shape"));
  EXPECT_FALSE(g.is_type(id(g, "f"), "shape"));
  EXPECT_EQ(g.type(id(g, "m")), "myPluginNode");
}

class Latin1 : public TextRecoder {
 public:
  bool keeps_valid_utf8() const override { return false; }
  std::string recode(std::string_view bytes) const override {
    std::string out;
    for (const char c : bytes) {
      const auto b = static_cast<unsigned char>(c);
      if (b < 0x80) {
        out += c;
      } else {
        out += static_cast<char>(0xC0 | (b >> 6));
        out += static_cast<char>(0x80 | (b & 0x3F));
      }
    }
    return out;
  }
};

TEST(GraphTest, RecodesTextsIntoUtf8) {
  Graph g;
  const Latin1 latin1;
  g.add_scene(scene_of("createNode file -n \"caf\xe9\";\n\tsetAttr \".ftn\" -type \"string\" \"cr\xe8me.png\";\n"
                       "createNode lambert -n \"cr\xe8me\";\nconnectAttr \"caf\xe9.oc\" \"cr\xe8me.c\";\n"),
              {}, &latin1);
  const NodeId node = id(g, "caf\xc3\xa9");
  EXPECT_EQ(g.model(node).attrs.at("fileTextureName").s, "cr\xc3\xa8me.png");
  // the connection's plugs, recoded into new texts, still reach both nodes
  const std::vector<Graph::Connection> connections = g.connections_of(node);
  ASSERT_EQ(connections.size(), 1u);
  EXPECT_EQ(connections[0].source.node, node);
  EXPECT_EQ(connections[0].destination.node, id(g, "cr\xc3\xa8me"));
}

}  // namespace
}  // namespace scenegraph
