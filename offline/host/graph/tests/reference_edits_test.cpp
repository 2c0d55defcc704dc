#include <gtest/gtest.h>

#include <string>

#include "mayascene/reader.h"
#include "scenegraph/queries.h"
#include "scenegraph/reference_edits.h"

namespace scenegraph {
namespace {

using Names = std::vector<std::string>;

mayascene::Scene scene_of(const std::string& body, const std::string& name) {
  return mayascene::read_text("//Maya ASCII 2025ff03 scene\n//Codeset: UTF-8\n" + body + "// End of x\n", name);
}

mayascene::ReferenceEdit edit(int code, Names fields) { return mayascene::ReferenceEdit{code, std::move(fields)}; }

void store(mayascene::Scene* scene, const std::string& holder, const std::string& group,
           std::vector<mayascene::ReferenceEdit> edits) {
  mayascene::ReferenceEdits record;
  record.holder = record.owner = holder;
  record.groups.push_back({group, std::move(edits)});
  scene->reference_edits.push_back(std::move(record));
}

// shot.ma references set.ma (setRN), which references chair.ma (chairRN, set:chairRN in the shot).
class ReferenceEditsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mayascene::Scene shot = scene_of(
        "createNode reference -n \"setRN\";\ncreateNode file -n \"shotTex\";\ncreateNode objectSet -n \"shotSet\";\n",
        "shot.ma");
    store(&shot, "setRN", "set:chairRN",
          {edit(2, {"set:chair:file3", "ftn", " -type \"string\" \"shot_wood.png\""}),
           edit(3, {"shotTex.oc", "set:chair:lambert2.c", ""}),
           edit(3, {"set:chair:geoShape.iog", "shotSet.dsm", "-na"}),
           edit(3, {"set:geoShape.iog", "shotSet.dsm", "-na"}),
           edit(2, {"set:gone:node", "v", " 0"}),
           edit(2, {"set:chair:file3", "fileTextureName", " (1)"})});
    mayascene::Scene set = scene_of("createNode reference -n \"chairRN\";\ncreateNode transform -n \"room\";\n", "set.ma");
    store(&set, "chairRN", "chairRN",
          {edit(2, {"chair:file3", "fileTextureName", " -type \"string\" \"set_wood.png\""}),
           edit(2, {"chair:file3", "uvTilingMode", " 3"}),
           edit(0, {"|chair:grp|chair:geo", "|room", "-s -r "}),
           edit(1, {"chair:file3", "notes", "nts", " -dt \"string\""}),
           edit(5, {"chairRN", "4", "chair:file3.oc", "chairRN.placeHolderList[1]", ""}),
           edit(2, {"chair:geo", "t", " -type \"double3\" 1 2 3"}),
           edit(2, {"chair:file3", "frameExtension", " 7"})});
    mayascene::Scene chair = scene_of(
        "createNode transform -n \"grp\";\ncreateNode transform -n \"geo\" -p \"grp\";\n"
        "createNode mesh -n \"geoShape\" -p \"geo\";\ncreateNode file -n \"file3\";\n"
        "\tsetAttr \".ftn\" -type \"string\" \"wood.png\";\n\tsetAttr \".fe\" 2;\ncreateNode lambert -n \"lambert2\";\n",
        "chair.ma");
    // The chair's own edit of itself would name its own nodes; the set and the shot win over it.
    graph.add_scene(std::move(shot), {});
    graph.add_scene(std::move(set), FileOptions{"set", "", "setRN"});
    graph.add_scene(std::move(chair), FileOptions{"set:chair", "", "set:chairRN"});
  }
  Graph graph;
};

TEST_F(ReferenceEditsTest, AppliesTheDeepestFilesEditsFirst) {
  EXPECT_EQ(edit_order(graph), (std::vector<int>{2, 1, 0}));
  const std::vector<EditMessage> messages = apply_reference_edits(graph);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].text,
            "Reference edits stored in set.ma: 5 applied (4 setAttr, 0 connectAttr, 1 parent), 2 of other kinds "
            "kept unapplied (code 1: 1, code 5: 1)");
  EXPECT_EQ(messages[1].text,
            "Reference edits stored in shot.ma: 3 applied (1 setAttr, 2 connectAttr, 0 parent), 2 naming nodes that "
            "are not loaded, 1 malformed");
  EXPECT_EQ(messages[2].level, "Warning");
  EXPECT_NE(messages[2].text.find("expected a string in the concatenation"), std::string::npos) << messages[2].text;

  // The shot's edit wins over the set's; the set's other edits stand; the file's own values stay.
  EXPECT_EQ(get_attr(graph, "set:chair:file3.ftn").value->s, "shot_wood.png");
  EXPECT_EQ(get_attr(graph, "set:chair:file3.uvt").value->i, 3);
  EXPECT_EQ(get_attr(graph, "set:chair:file3.fe").value->i, 7);
  EXPECT_EQ(get_attr(graph, "set:chair:geo.translate").value->items[2].d, 3.0);
  EXPECT_EQ(graph.path(graph.require("set:chair:geoShape")), "|set:room|set:chair:geo|set:chair:geoShape");

  ConnectionQuery sources;
  sources.destinations = false;
  sources.plugs = true;
  EXPECT_EQ(list_connections(graph, {"set:chair:lambert2"}, sources), (Names{"shotTex.outColor"}));
  EXPECT_EQ(list_connections(graph, {"shotSet"}, sources),
            (Names{"set:chair:geoShape.instObjGroups"}));  // the other names a node not loaded
  ConnectionQuery pairs;
  pairs.pairs = true;
  pairs.plugs = true;
  EXPECT_EQ(list_connections(graph, {"shotSet"}, pairs),
            (Names{"shotSet.dagSetMembers[0]", "set:chair:geoShape.instObjGroups"}));
}

TEST(ReferenceEditValuesTest, ReadsTheTailAsTheReaderReadsSetAttr) {
  mayascene::TextArena texts;
  mayascene::Node file;
  file.type = texts.intern("file");
  const auto values = mayascene::set_attr_values(file, "ftn", " -type \"string\" \"D:/a b/c.png\"", "edit");
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(values[0].first, "fileTextureName");
  EXPECT_EQ(values[0].second.s, "D:/a b/c.png");
  mayascene::Node layer;
  layer.type = texts.intern("renderLayerManager");
  EXPECT_EQ(mayascene::set_attr_values(layer, "rlmi[1:2]", " 1 2", "edit").size(), 2u);
  EXPECT_TRUE(mayascene::set_attr_values(file, "pt[0:1]", " -type \"float3\" 1 2 3 4 5 6", "edit").empty());
  EXPECT_TRUE(mayascene::set_attr_values(file, "v", " -k 1", "edit").empty());
  EXPECT_THROW(mayascene::set_attr_values(file, "ftn", " -type \"string\" \"x\"; setAttr \".a\" 1", "edit"),
               mayascene::ParseError);
}

std::vector<std::pair<std::string, mayascene::Value>> entries(const mayascene::Attributes& attrs) {
  std::vector<std::pair<std::string, mayascene::Value>> out;
  for (const auto& entry : attrs) out.emplace_back(std::string(entry.first), entry.second);
  return out;
}

// Thousands of edits of a prop's render layer manager, elements set again and again, some as
// ranges, end with the values that applying and sorting them one at a time gives; a connectAttr
// -na edit among them takes the element after the highest one the edits before it set.
TEST(ReferenceEditsOnOneNodeTest, EndAsTheEditsAppliedOneByOne) {
  mayascene::Scene shot =
      scene_of("createNode reference -n \"propRN\";\ncreateNode renderLayer -n \"extra\";\n", "shot.ma");
  mayascene::Scene prop = scene_of(
      "createNode renderLayerManager -n \"lm\";\n\tsetAttr \".rlmi[3]\" 9;\n\tsetAttr \".rlmi[70]\" 5;\n", "prop.ma");
  std::vector<mayascene::ReferenceEdit> edits;
  unsigned seed = 7;
  for (int i = 0; i < 3000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const unsigned element = (seed >> 8) % 60;
    if (i % 7 == 0) {
      const std::string range = std::to_string(element) + ":" + std::to_string(element + 2);
      edits.push_back(edit(2, {"prop:lm", "rlmi[" + range + "]", " 1 2 3"}));
    } else {
      edits.push_back(edit(2, {"prop:lm", "rlmi[" + std::to_string(element) + "]", " " + std::to_string(i)}));
    }
    if (i == 1500) {
      edits.push_back(edit(2, {"prop:lm", "rlmi[90]", " 1"}));
      edits.push_back(edit(3, {"extra.rlid", "prop:lm.rlmi", "-na"}));
    }
  }
  store(&shot, "propRN", "propRN", edits);
  Graph graph;
  graph.add_scene(std::move(shot), {});
  graph.add_scene(std::move(prop), FileOptions{"prop", "", "propRN"});

  mayascene::Node& lm = graph.model(graph.require("prop:lm"));
  mayascene::Attributes expected = lm.attrs;
  for (const mayascene::ReferenceEdit& e : edits) {
    if (e.code != 2) continue;
    for (const auto& value : mayascene::set_attr_values(lm, e.fields[1], e.fields[2], "edit")) {
      expected.set(value.first, value.second);
    }
    expected.normalize();
  }
  apply_reference_edits(graph);
  EXPECT_EQ(entries(lm.attrs), entries(expected));
  EXPECT_EQ(get_attr(graph, "prop:lm.rlmi[70]").value->i, 5);

  ConnectionQuery pairs;
  pairs.pairs = true;
  pairs.plugs = true;
  EXPECT_EQ(list_connections(graph, {"extra"}, pairs), (Names{"extra.identification", "prop:lm.renderLayerId[91]"}));
}

}  // namespace
}  // namespace scenegraph
