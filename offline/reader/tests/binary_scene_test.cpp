// What the binary reader puts in the scene model: header, references, nodes, values, added
// attributes, connections and reference edits, as the .ma reader gives them for the same scene.
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "mayascene/binary.h"
#include "mb_builder.h"

namespace mayascene {
namespace {

using testing_mb::f64;
using testing_mb::Form;
using testing_mb::u32;
using testing_mb::u8;
using testing_mb::z;

const Form F4{false};
const Form F8{true};

Scene read_mb(const std::string& bytes, const std::string& fallback = "1252") {
  MemoryByteSource source(bytes);
  return read_binary(source, "t.mb", fallback);
}

const Node* node(const Scene& s, const std::string& name) {
  for (const Node& n : s.nodes) {
    if (n.name == name) return &n;
  }
  return nullptr;
}

std::optional<Value> attr(const Scene& s, const std::string& name, const std::string& path) {
  const Node* n = node(s, name);
  if (n == nullptr) return std::nullopt;
  return n->attrs.get(path);
}

struct SceneCase {
  const char* name;
  std::function<std::string()> bytes;
  std::function<void(const Scene&)> check;
};

void PrintTo(const SceneCase& c, std::ostream* os) { *os << c.name; }

class BinarySceneTest : public ::testing::TestWithParam<SceneCase> {};

TEST_P(BinarySceneTest, BuildsModel) { GetParam().check(read_mb(GetParam().bytes())); }

std::string plug(const std::string& name, const std::string& version, const std::string& flags,
                 const std::vector<std::pair<std::string, std::uint32_t>>& ids) {
  std::string data = z(name) + z(version) + z(flags);
  for (const auto& id : ids) data += z(id.first) + u32(id.second);
  return F8.leaf("PLUG", data);
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, BinarySceneTest,
    ::testing::Values(
        SceneCase{"header",
                  [] {
                    return F8.file({F8.head("2018ff09", {F8.leaf("TDUR", "141120000"),
                                                         F8.leaf("FINF", z("osv") + z("Windows (Build 1)\\n")),
                                                         F8.leaf("FINF", z("license") + z("student")),
                                                         plug("mtoa", "5.2.1.1",
                                                              " -nodeType \"aiOptions\" -dataType \"aiData\"",
                                                              {{"aiOptions", 0x00115C00}, {"aiData", 0x00115C99}}),
                                                         plug("stereoCamera", "10.0", "", {})})});
                  },
                  [](const Scene& s) {
                    EXPECT_EQ(s.maya_version, "2018ff09");
                    EXPECT_EQ(s.required_maya, "2018ff09");
                    EXPECT_EQ(s.units.at("linear"), "centimeter");
                    EXPECT_EQ(s.units.at("angle"), "degree");
                    EXPECT_EQ(s.units.at("time"), "film");
                    ASSERT_EQ(s.file_info.size(), 2u);
                    EXPECT_EQ(s.file_info[0].second, "Windows (Build 1)\n");  // escaped as in a .ma string
                    ASSERT_EQ(s.requires_.size(), 2u);
                    EXPECT_EQ(s.requires_[0].plugin, "mtoa");
                    EXPECT_EQ(s.requires_[0].version, "5.2.1.1");
                    EXPECT_EQ(s.requires_[0].node_types, std::vector<std::string>{"aiOptions"});
                    EXPECT_EQ(s.requires_[0].data_types, std::vector<std::string>{"aiData"});
                    EXPECT_EQ(s.requires_[1].plugin, "stereoCamera");
                    EXPECT_TRUE(s.requires_[1].node_types.empty());
                  }},
        SceneCase{"plugin_record_before_2014",
                  [] { return F4.file({F4.group("HEAD", {F4.leaf("VERS", "2013"), F4.leaf("PLUG", z("Mayatomr") + z("2013.0 - 3.10.1.4 ")), F4.leaf("PLUG", z("x") + "1.0")})}); },
                  [](const Scene& s) {
                    ASSERT_EQ(s.requires_.size(), 2u);
                    EXPECT_EQ(s.requires_[0].version, "2013.0 - 3.10.1.4 ");
                    EXPECT_EQ(s.requires_[1].version, "1.0");
                  }},
        SceneCase{"node_types_by_plugin_table_tag_and_id",
                  [] {
                    return F8.file({F8.head("2023", {plug("mtoa", "5", "", {{"aiOptions", 0x00115C00}}),
                                                     plug("renderSetup.py", "1.0", "", {{"renderSetupLayer", 0x58000372}})}),
                                    F8.node(u32(0x00115C00), 0x81, "defaultArnoldRenderOptions", ""),
                                    F8.node(u32(0x58000372), 0x80, "layer1", ""),
                                    F8.node(u32(0x58000373), 0x80, "collection1", ""),
                                    F8.node(u32(0x00ABCDEF), 0x80, "mystery", "", {F8.value("STR ", "path", z("/a/b.tx"))}),
                                    F8.node("QQQQ", 0x80, "tagged", ""), F8.node("RTFT", 0x80, "file1", "")});
                  },
                  [](const Scene& s) {
                    EXPECT_EQ(node(s, "defaultArnoldRenderOptions")->type, "aiOptions");
                    EXPECT_TRUE(node(s, "defaultArnoldRenderOptions")->shared);
                    EXPECT_EQ(node(s, "layer1")->type, "renderSetupLayer");
                    EXPECT_EQ(node(s, "collection1")->type, "collection");  // render setup's table
                    EXPECT_EQ(node(s, "mystery")->type, "unknown type 0x00ABCDEF");
                    EXPECT_EQ(*attr(s, "mystery", "path"), Value::string("/a/b.tx"));
                    EXPECT_EQ(node(s, "tagged")->type, "unknown type 0x51515151 (QQQQ)");
                    EXPECT_EQ(node(s, "file1")->type, "file");
                  }},
        SceneCase{"node_flags_parents_and_uuid",
                  [] {
                    const std::string uuid("\x58\x64\x97\x59\x5e\x01\xcb\x43\xb0\x0f\x48\xd6\x9e\xf0\x1f\x22", 16);
                    return F8.file({F8.head("2019"), F8.group("XFRM", {F8.leaf("CREA", u8(0x8D) + z("persp") + uuid)}),
                                    F8.node("DCAM", 0x05, "perspShape", "persp"),
                                    F8.node("XFRM", 0x8C, "grp", ""), F8.node("XFRM", 0x0C, "a", "grp"),
                                    F8.node("XFRM", 0x0C, "a", "|grp|a"), F8.node("DMSH", 0x04, "shape", "grp|a|a"),
                                    F8.node("REFN", 0x90, "rigRN", ""),
                                    F8.node("XFRM", 0x0C, "child", "|outside|grp")});
                  },
                  [](const Scene& s) {
                    const Node& persp = *node(s, "persp");
                    EXPECT_TRUE(persp.shared);
                    EXPECT_TRUE(persp.dag);
                    EXPECT_EQ(s.uuids.text(0), "59976458-43CB-015E-D648-0FB0221FF09E");
                    EXPECT_EQ(s.nodes[1].parent, 0);
                    EXPECT_EQ(s.nodes[1].parent_name, "persp");
                    EXPECT_EQ(dag_path(s, 5), "|grp|a|a|shape");
                    EXPECT_EQ(s.nodes[5].parent, 4);
                    EXPECT_TRUE(node(s, "rigRN")->locked);
                    EXPECT_FALSE(node(s, "rigRN")->dag);
                    EXPECT_EQ(s.nodes[7].parent, -1);  // a parent in another file
                    EXPECT_EQ(dag_path(s, 7), "|outside|grp|child");
                  }},
        SceneCase{"shared_and_default_nodes",
                  [] {
                    return F4.file({F4.select(":defaultRenderGlobals", {F4.value("STR ", "ren", z("arnold"))}),
                                    F4.select(":someNewGlobals", {F4.value("STR ", "x", z("y"))}),
                                    F4.select(":time1", {F4.value("DBLE", "o", u32(500))}),
                                    F4.node("RLLK", 0x01, "lightLinker1", ""), F4.node("RLLK", 0x01, "lightLinker1", ""),
                                    F4.node("RNLM", 0x00, "renderLayerManager", ""),
                                    F4.select(":renderLayerManager", {F4.value("DBLE", "crl", f64(1))})});
                  },
                  [](const Scene& s) {
                    const Node& globals = *node(s, "defaultRenderGlobals");
                    EXPECT_EQ(globals.type, "renderGlobals");
                    EXPECT_TRUE(globals.implicit);
                    EXPECT_EQ(globals.attrs.at("currentRenderer"), Value::string("arnold"));
                    EXPECT_EQ(node(s, "someNewGlobals")->type, "unknown");
                    EXPECT_EQ(*attr(s, "time1", "o"), Value::integer(2));  // 500 ticks at 6000/s, film
                    int linkers = 0;
                    for (const Node& n : s.nodes) linkers += n.name == "lightLinker1";
                    EXPECT_EQ(linkers, 1);
                    EXPECT_FALSE(node(s, "renderLayerManager")->implicit);
                    EXPECT_EQ(*attr(s, "renderLayerManager", "currentRenderLayer"), Value::integer(1));
                    EXPECT_EQ(node(s, "defaultRenderLayer")->attrs.at("global"), Value::boolean(true));
                  }},
        SceneCase{"connections_and_relationships",
                  [] {
                    return F8.file({F8.node("RTFT", 0, "file1", ""), F8.node("RPL2", 0, "place2dTexture1", ""),
                                    F8.connections({F8.connect(0, "place2dTexture1.o", "file1.uv"),
                                                    F8.connect(1, ":file1.msg", ":defaultTextureList1.tx"),
                                                    F8.connect(1, "place2dTexture1.msg", ":defaultTextureList1.tx"),
                                                    F8.connect(2, "a.o", "b.tx"),
                                                    F8.leaf("RELA", z("link") + z(":lightLinker1") + u32(2) +
                                                                        z(":initialShadingGroup.message") +
                                                                        z(":defaultLightSet.message"))}),
                                    F8.connections({F8.connect(1, "x.msg", "defaultTextureList1.tx[7]")})});
                  },
                  [](const Scene& s) {
                    ASSERT_EQ(s.connections.size(), 5u);
                    EXPECT_EQ(s.connections[0].source(), "place2dTexture1.outUV");
                    EXPECT_EQ(s.connections[0].destination(), "file1.uvCoord");
                    EXPECT_EQ(s.connections[1].source(), "file1.message");
                    EXPECT_EQ(s.connections[1].destination(), "defaultTextureList1.textures[0]");
                    EXPECT_EQ(s.connections[2].destination(), "defaultTextureList1.textures[1]");
                    EXPECT_EQ(s.connections[3].destination(), "b.tx");
                    EXPECT_EQ(s.connections[4].destination(), "defaultTextureList1.textures[7]");
                    ASSERT_EQ(s.relationships.size(), 1u);
                    EXPECT_EQ(s.relationships[0].kind, "link");
                    EXPECT_EQ(s.relationships[0].members,
                              (std::vector<std::string>{"lightLinker1", "initialShadingGroup.message", "defaultLightSet.message"}));
                  }},
        SceneCase{"references",
                  [] {
                    const std::string rdi = u32(2) + z("C:/proj//scenes/rig.mb") + z("rig") + u8(1) + u8(1) +
                                            z("set:rigRN") + std::string(3, '\0') + z("v=0;") + z("mayaBinary") +
                                            std::string(2, '\0');
                    const std::string ref = z("C:/proj//scenes/set.ma") + z("set") + u8(1) + u8(1) + z("setRN") +
                                            std::string(8, '\0') + z("v=0;p=17") + z("mayaAscii") + std::string(11, '\0');
                    const std::string old = z("D:/a.ma") + z("a") + u8(1) + u8(0) + z("aRN");
                    const std::string bare = z("D:/b.ma") + z("b") + z("bRN");  // no flag bytes
                    return F8.file({F8.head("2023"), F8.group("FRDI", {F8.leaf("FRDI", rdi)}),
                                    F8.group("FREF", {F8.leaf("FREF", ref)}), F8.group("FREF", {F8.leaf("FREF", old)}),
                                    F8.group("FREF", {F8.leaf("FREF", bare)})});
                  },
                  [](const Scene& s) {
                    ASSERT_EQ(s.references.size(), 4u);
                    const Reference& rdi = s.references[0];
                    EXPECT_EQ(rdi.depth, 2);
                    EXPECT_FALSE(rdi.top_level);
                    EXPECT_TRUE(rdi.deferred);
                    EXPECT_EQ(rdi.path, "C:/proj//scenes/rig.mb");
                    EXPECT_EQ(rdi.ns, "rig");
                    EXPECT_EQ(rdi.reference_node, "set:rigRN");
                    EXPECT_EQ(rdi.options, "v=0;");
                    EXPECT_EQ(rdi.type, "mayaBinary");
                    const Reference& ref = s.references[1];
                    EXPECT_TRUE(ref.top_level);
                    EXPECT_EQ(ref.depth, 0);
                    EXPECT_TRUE(ref.deferred);
                    EXPECT_EQ(ref.options, "v=0;p=17");
                    EXPECT_EQ(ref.type, "mayaAscii");
                    EXPECT_FALSE(s.references[2].deferred);
                    EXPECT_EQ(s.references[2].reference_node, "aRN");
                    EXPECT_EQ(s.references[2].type, "");
                    EXPECT_EQ(s.references[3].reference_node, "bRN");
                    EXPECT_FALSE(s.references[3].deferred);
                  }},
        SceneCase{"groups_of_unknown_kinds_and_chunks_inside_nodes",
                  [] {
                    return F8.file({F8.group("XXXX", {F8.leaf("DATA", "abc")}), F8.group("SLCT", {F8.leaf("STR ", "x")}), F8.group("PING", {F8.leaf("PRNT", u8(0) + z("|a") + z("b"))}),
                                    F8.node("XFRM", 0x8C, "n", "", {F8.leaf("ZZZZ", "?"), F8.group("INNR", {}),
                                                                    F8.value("STR ", "note", z("kept"))}),
                                    F8.list("CONS", {F8.leaf("CWFL", u8(0) + z("a.b") + z("c.d"))})});
                  },
                  [](const Scene& s) {
                    EXPECT_EQ(s.nodes[0].name, "n");
                    EXPECT_EQ(s.nodes[0].attrs.at("note"), Value::string("kept"));
                    EXPECT_TRUE(s.connections.empty());  // a CWFL outside a CONN group
                  }}));

}  // namespace
}  // namespace mayascene
