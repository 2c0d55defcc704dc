#include <gtest/gtest.h>

#include <string>

#include "mayascene/reader.h"
#include "scenegraph/queries.h"

namespace scenegraph {
namespace {

using Names = std::vector<std::string>;

const char kScene[] =
    "//Maya ASCII 2025ff03 scene\n//Codeset: UTF-8\n"
    "createNode transform -s -n \"persp\";\n"
    "createNode camera -s -n \"perspShape\" -p \"persp\";\n"
    "\tsetAttr \".fl\" 50;\n"
    "createNode transform -n \"shots\";\n"
    "createNode transform -n \"ground\" -p \"shots\";\n"
    "createNode mesh -n \"groundShape\" -p \"ground\";\n"
    "\tsetAttr \".rlio[0]\" 1 yes 0;\n"
    "createNode transform -n \"ground\";\n"
    "createNode mesh -n \"groundShape\" -p \"|ground\";\n"
    "createNode transform -n \"rig\" -p \"shots\";\n"
    "createNode camera -n \"rigShape\" -p \"rig\";\n"
    "createNode stereoRigCamera -n \"stereoShape\" -p \"rig\";\n"
    "createNode unknownPluginShape -n \"leaf\" -p \"rig\";\n"
    "createNode file -n \"tex1\";\n"
    "\tsetAttr \".ftn\" -type \"string\" \"a.png\";\n"
    "createNode file -n \"tex2\";\n"
    "createNode place2dTexture -n \"place1\";\n"
    "createNode script -n \"note\";\n"
    "\taddAttr -ci true -sn \"nt\" -ln \"noteText\" -dt \"string\";\n"
    "\taddAttr -ci true -sn \"cnt\" -ln \"count\" -at \"long\" -dv 4;\n"
    "\tsetAttr \".nt\" -type \"string\" \"hello\";\n"
    "createNode renderLayer -n \"beauty\";\n"
    "\tsetAttr \".adjs[2].val\" yes;\n"
    "connectAttr \"place1.o\" \"tex1.uv\";\n"
    "connectAttr \"tex1.oc\" \"|shots|ground|groundShape.iog[0].og[1].gcl\";\n"
    "connectAttr \"tex1.msg\" \"beauty.adjs[5].plg\";\n"
    "connectAttr \"tex2.msg\" \"prop:bolt.dsm\" -na;\n"
    "// End of t.ma\n";

class QueriesTest : public ::testing::Test {
 protected:
  void SetUp() override { graph.add_scene(mayascene::read_text(kScene, "t.ma"), {}); }
  Graph graph;
};

TEST_F(QueriesTest, ListsNodesByTypeAndName) {
  LsQuery all;
  EXPECT_EQ(list_nodes(graph, all).size(), graph.node_count());
  LsQuery cameras;
  cameras.types = Names{"camera"};
  EXPECT_EQ(list_nodes(graph, cameras), (Names{"perspShape", "rigShape", "stereoShape"}));
  cameras.long_names = true;
  EXPECT_EQ(list_nodes(graph, cameras), (Names{"|persp|perspShape", "|shots|rig|rigShape", "|shots|rig|stereoShape"}));
  LsQuery meshes;
  meshes.types = Names{"mesh"};
  EXPECT_EQ(list_nodes(graph, meshes), (Names{"shots|ground|groundShape", "|ground|groundShape"}));
  LsQuery none;
  none.types = Names{};
  EXPECT_TRUE(list_nodes(graph, none).empty());
  LsQuery absent;
  absent.types = Names{"aiStandIn"};
  EXPECT_TRUE(list_nodes(graph, absent).empty());

  const std::pair<Names, Names> patterns[] = {
      {{"tex*"}, {"tex1", "tex2"}},
      {{":tex2", "tex1"}, {"tex1", "tex2"}},
      {{"ground"}, {"shots|ground", "|ground"}},
      {{"ground|groundShape"}, {"shots|ground|groundShape", "|ground|groundShape"}},
      {{"|ground|groundShape"}, {"|ground|groundShape"}},
      {{"|groundShape"}, {}},
      {{"nothing"}, {}},
      {{"*Shape"}, {"perspShape", "shots|ground|groundShape", "|ground|groundShape", "rigShape", "stereoShape"}},
  };
  for (const auto& c : patterns) {
    LsQuery q;
    q.patterns = c.first;
    EXPECT_EQ(list_nodes(graph, q), c.second) << c.first[0];
  }
  LsQuery typed;
  typed.patterns = Names{"*"};
  typed.types = Names{"texture2d"};
  EXPECT_EQ(list_nodes(graph, typed), (Names{"tex1", "tex2"}));
}

TEST_F(QueriesTest, ListsRelatives) {
  RelativesQuery children;
  EXPECT_EQ(list_relatives(graph, {"shots"}, children), (Names{"ground", "rig"}));
  RelativesQuery parents;
  parents.parents = true;
  EXPECT_EQ(list_relatives(graph, {"rigShape", "persp"}, parents), (Names{"rig"}));
  parents.full_paths = true;
  EXPECT_EQ(list_relatives(graph, {"rigShape"}, parents), (Names{"|shots|rig"}));
  RelativesQuery descendants;
  descendants.all_descendents = true;
  EXPECT_EQ(list_relatives(graph, {"shots"}, descendants),
            (Names{"leaf", "stereoShape", "rigShape", "rig", "groundShape", "ground"}));
  descendants.types = Names{"camera"};
  descendants.full_paths = true;
  EXPECT_EQ(list_relatives(graph, {"shots"}, descendants), (Names{"|shots|rig|stereoShape", "|shots|rig|rigShape"}));
  RelativesQuery shapes;
  shapes.shapes = true;
  EXPECT_EQ(list_relatives(graph, {"rig"}, shapes), (Names{"rigShape", "stereoShape", "leaf"}));
  EXPECT_TRUE(list_relatives(graph, {"tex1"}, children).empty());
  EXPECT_THROW(list_relatives(graph, {"groundShape"}, children), NameError);
  EXPECT_THROW(list_relatives(graph, {"nothing"}, children), NameError);
}

TEST_F(QueriesTest, ListsConnections) {
  ConnectionQuery q;
  EXPECT_EQ(list_connections(graph, {"tex1"}, q), (Names{"place1", "shots|ground|groundShape", "beauty"}));
  q.sources = false;
  q.plugs = true;
  EXPECT_EQ(list_connections(graph, {"tex1"}, q),
            (Names{"shots|ground|groundShape.instObjGroups[0].objectGroups[1].objectGrpCompList", "beauty.adjustments[5].plug"}));
  q.pairs = true;
  q.plugs = false;
  EXPECT_EQ(list_connections(graph, {"tex1.oc"}, q), (Names{"tex1.outColor", "shots|ground|groundShape"}));
  ConnectionQuery typed;
  typed.type = "place2dTexture";
  EXPECT_EQ(list_connections(graph, {"tex1"}, typed), (Names{"place1"}));
  ConnectionQuery element;
  EXPECT_EQ(list_connections(graph, {"beauty.adjustments[5].plug"}, element), (Names{"tex1"}));
  EXPECT_EQ(list_connections(graph, {"beauty.adjs"}, element), (Names{"tex1"}));
  EXPECT_TRUE(list_connections(graph, {"beauty.adjs[2]"}, element).empty());
  EXPECT_EQ(list_connections(graph, {"tex2"}, element), (Names{"prop:bolt"}));  // a node of a file not loaded
  ConnectionQuery plug;
  plug.plugs = true;
  EXPECT_EQ(list_connections(graph, {"tex2"}, plug), (Names{"prop:bolt.dsm[0]"}));
}

TEST_F(QueriesTest, ReadsAttributes) {
  EXPECT_EQ(get_attr(graph, "perspShape.focalLength").value->d, 50.0);
  EXPECT_TRUE(get_attr(graph, "perspShape.fl").stored);
  EXPECT_EQ(get_attr(graph, "rigShape.fl").value->d, 35.0);  // Maya's default
  EXPECT_FALSE(get_attr(graph, "rigShape.fl").stored);
  EXPECT_EQ(get_attr(graph, "tex1.fileTextureName").value->s, "a.png");
  EXPECT_EQ(get_attr(graph, "tex2.ftn").value->s, "");
  EXPECT_EQ(get_attr(graph, "note.noteText").value->s, "hello");
  EXPECT_EQ(get_attr(graph, "note.cnt").value->i, 4);  // a dynamic attribute's default
  EXPECT_EQ(get_attr(graph, "|shots|ground|groundShape.rlio[0]").value->items.size(), 3u);
  EXPECT_FALSE(get_attr(graph, "beauty.adjs").value.has_value());  // exists, holds no value
  EXPECT_TRUE(get_attr(graph, "beauty.adjustments[2].value").value->b);
  for (const char* missing : {"tex1.noSuch", "nothing.v", "tex1", "groundShape.v"}) {
    EXPECT_THROW(get_attr(graph, missing), NameError) << missing;
  }
  try {
    get_attr(graph, "groundShape.v");
  } catch (const NameError& e) {
    EXPECT_STREQ(e.what(), "More than one object matches name: groundShape");
  }
  EXPECT_EQ(multi_indices(graph, "beauty.adjs"), (std::vector<long long>{2, 5}));
  EXPECT_TRUE(multi_indices(graph, "tex2.ftn").empty());
  EXPECT_TRUE(attribute_exists(graph, graph.require("note"), "nt"));
  EXPECT_TRUE(attribute_exists(graph, graph.require("beauty"), "adjs"));
  EXPECT_FALSE(attribute_exists(graph, graph.require("tex1"), "noSuch"));
  EXPECT_TRUE(object_exists(graph, "tex1.ftn"));
  EXPECT_TRUE(object_exists(graph, "groundShape"));
  EXPECT_FALSE(object_exists(graph, "tex1.noSuch"));
  EXPECT_FALSE(object_exists(graph, "nothing"));
}

}  // namespace
}  // namespace scenegraph
