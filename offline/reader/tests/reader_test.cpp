#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

#include "mayascene/reader.h"

namespace mayascene {
namespace {

const char kHeader[] =
    "//Maya ASCII 2025ff03 scene\n//Name: t.ma\n//Last modified: Thu, Jan 16, 2025\n//Codeset: 1252\n";
const char kTrailer[] = "// End of t.ma\n";

Scene read(const std::string& body) { return read_text(kHeader + body + kTrailer, "t.ma"); }

const Node* node(const Scene& s, const std::string& name) {
  for (const Node& n : s.nodes) {
    if (n.name == name) return &n;
  }
  return nullptr;
}

int index_of(const Scene& s, const std::string& name) {
  for (std::size_t i = 0; i < s.nodes.size(); ++i) {
    if (s.nodes[i].name == name) return static_cast<int>(i);
  }
  ADD_FAILURE() << "no node " << name;
  return -1;
}

std::string path_of(const Scene& s, const std::string& name) {
  const int index = index_of(s, name);
  return index < 0 ? std::string() : dag_path(s, index);
}

std::optional<Value> attr(const Scene& s, const std::string& name, const std::string& path) {
  const Node* n = node(s, name);
  if (n == nullptr) return std::nullopt;
  return n->attrs.get(path);
}

Value tuple(std::vector<Value> items) {
  Value v;
  v.kind = Value::Kind::Tuple;
  v.items = std::move(items);
  return v;
}

struct StatementCase {
  const char* name;
  std::string body;
  std::function<void(const Scene&)> check;
};

void PrintTo(const StatementCase& c, std::ostream* os) { *os << c.name; }

class StatementTest : public ::testing::TestWithParam<StatementCase> {};

TEST_P(StatementTest, BuildsModel) { GetParam().check(read(GetParam().body)); }

INSTANTIATE_TEST_SUITE_P(
    Statements, StatementTest,
    ::testing::Values(
        StatementCase{"header", "requires maya \"2025ff03\";\n",
                      [](const Scene& s) {
                        EXPECT_EQ(s.maya_version, "2025ff03");
                        EXPECT_EQ(s.codeset, "1252");
                        EXPECT_EQ(s.required_maya, "2025ff03");
                      }},
        StatementCase{"requires_wrapped_with_types",
                      "requires -nodeType \"aiOptions\" -nodeType \"aiAOV\"\n\t\t -dataType \"d\" \"mtoa\" \"5.2.1.1\";\n"
                      "requires \"stereoCamera\" \"10.0\";\nrequires \"noVersion\";\n",
                      [](const Scene& s) {
                                        EXPECT_EQ(s.requires_[0].plugin, "mtoa");
                        EXPECT_EQ(s.requires_[0].version, "5.2.1.1");
                        EXPECT_EQ(s.requires_[0].node_types, (std::vector<std::string>{"aiOptions", "aiAOV"}));
                        EXPECT_EQ(s.requires_[0].data_types, (std::vector<std::string>{"d"}));
                        ASSERT_EQ(s.requires_.size(), 3u);
                        EXPECT_EQ(s.requires_[1].plugin, "stereoCamera");
                        EXPECT_EQ(s.requires_[2].version, "");
                      }},
        StatementCase{"current_unit_long_and_short", "currentUnit -linear centimeter -a degree -t film;\n",
                      [](const Scene& s) {
                        EXPECT_EQ(s.units.at("linear"), "centimeter");
                        EXPECT_EQ(s.units.at("angle"), "degree");
                        EXPECT_EQ(s.units.at("time"), "film");
                      }},
        StatementCase{"file_info_escapes", "fileInfo \"osv\" \"Windows (Build 7601)\\n\";\n",
                      [](const Scene& s) {
                        ASSERT_EQ(s.file_info.size(), 1u);
                        EXPECT_EQ(s.file_info[0].second, "Windows (Build 7601)\n");
                      }},
        StatementCase{"file_references",
                      "file -rdi 1 -ns \"rig\" -rfn \"rigRN\" -op \"v=0;\" -typ \"mayaAscii\" \"D:/a/ball.ma\";\n"
                      "file -rdi 2 -ns \"lamp\" -rfn \"rig:lampRN\" \"lamp.mb\";\n"
                      "file -r -ns \"rig\" -dr 1 -rfn \"rigRN\" -op \"v=0;\"\n\t\t -typ \"mayaAscii\" \"D:/a/ball.ma\";\n"
                      "file -r -rpr \"IMP\" -rfn \"IMPRN\" \"P:/IMP_SETUP.mb\";\n",
                      [](const Scene& s) {
                        ASSERT_EQ(s.references.size(), 4u);
                        EXPECT_EQ(s.references[0].prefix, "");
                        EXPECT_EQ(s.references[3].prefix, "IMP");
                        EXPECT_EQ(s.references[3].ns, "");
                        EXPECT_FALSE(s.references[3].deferred);
                        EXPECT_EQ(s.references[0].depth, 1);
                        EXPECT_EQ(s.references[1].reference_node, "rig:lampRN");
                        EXPECT_EQ(s.references[1].path, "lamp.mb");
                        EXPECT_TRUE(s.references[2].top_level);
                        EXPECT_TRUE(s.references[2].deferred);
                        EXPECT_EQ(s.references[2].ns, "rig");
                        EXPECT_EQ(s.references[2].options, "v=0;");
                        EXPECT_EQ(s.references[2].type, "mayaAscii");
                        EXPECT_EQ(s.references[2].path, "D:/a/ball.ma");
                      }},
        StatementCase{"reference_edits",
                      "createNode reference -n \"setRN\";\n"
                      "\tsetAttr \".ed\" -type \"dataReferenceEdits\" \n\t\t\"setRN\"\n"
                      "\t\t\"setRN\" 0\n\t\t\"set:chairRN\" 4\n"
                      "\t\t2 \"set:chair:wood\" \"fileTextureName\" \" -type \\\"string\\\" \\\"C:/a//b.png\\\"\"\n"
                      "\t\t1 |set:chair:grp \"tag\" \"tg\" \" -ci 1 -dt \\\"string\\\"\"\n"
                      "\t\t5 4 \"setRN\" (\"|set:chair:grp\" + \".translateX\") \"setRN.placeHolderList[1]\" \"\"\n"
                      "\t\t0 \"|set:chair:grp\" \"|world\" \"-s -r \"\n"
                      "\t\t\"set:stoolRN\" 0;\n"
                      "createNode reference -n \"brokenRN\";\n"
                      "\tsetAttr \".ed\" -type \"dataReferenceEdits\" \"brokenRN\" \"brokenRN\" 2\n"
                      "\t\t2 \"a\" \"v\" \" 1\" 9 \"x\" \"y\";\n"
                      "createNode transform -n \"after\";\n",
                      [](const Scene& s) {
                        ASSERT_EQ(s.reference_edits.size(), 2u);
                        const ReferenceEdits& e = s.reference_edits[0];
                        EXPECT_EQ(e.holder, "setRN");
                        EXPECT_EQ(e.owner, "setRN");
                        ASSERT_EQ(e.groups.size(), 3u);
                        EXPECT_EQ(e.groups[1].reference_node, "set:chairRN");
                        ASSERT_EQ(e.groups[1].edits.size(), 4u);
                        EXPECT_EQ(e.groups[1].edits[0].code, 2);
                        EXPECT_EQ(e.groups[1].edits[0].fields,
                                  (std::vector<std::string>{"set:chair:wood", "fileTextureName",
                                                            " -type \"string\" \"C:/a//b.png\""}));
                        EXPECT_EQ(e.groups[1].edits[1].fields[0], "|set:chair:grp");  // unquoted addAttr node
                        EXPECT_EQ(e.groups[1].edits[2].fields,
                                  (std::vector<std::string>{"4", "setRN", "|set:chair:grp.translateX",
                                                            "setRN.placeHolderList[1]", ""}));
                        EXPECT_EQ(e.groups[1].edits[3].code, 0);
                        EXPECT_EQ(e.groups[2].reference_node, "set:stoolRN");
                        // an edit of unknown layout keeps what came before it, and the file reads on
                        ASSERT_EQ(s.reference_edits[1].groups.size(), 1u);
                        EXPECT_EQ(s.reference_edits[1].groups[0].edits.size(), 1u);
                        EXPECT_NE(node(s, "after"), nullptr);
                      }},
        StatementCase{"create_node_hierarchy",
                      "createNode transform -s -n \"persp\";\ncreateNode camera -s -n \"perspShape\" -p \"persp\";\n"
                      "createNode transform -n \"grp\";\ncreateNode transform -n \"a\" -p \"grp\";\n"
                      "createNode mesh -n \"shape\" -p \"|grp|a\";\ncreateNode transform -name \"b\" -parent \"grp\";\n"
                      "createNode mesh -n \"shape\" -p \"b\";\ncreateNode mesh -n \"r:m\" -p \"r:ctrl\";\n"
                      "createNode file -n \"file1\";\ncreateNode transform -n \"leaf\" -p \"|r:ctrl|r:m\";\n"
                      "createNode transform -n \"a\" -p \"a\";\n",
                      [](const Scene& s) {
                        EXPECT_EQ(path_of(s, "perspShape"), "|persp|perspShape");
                        EXPECT_TRUE(node(s, "persp")->shared);
                        EXPECT_EQ(dag_path(s, 4), "|grp|a|shape");
                        EXPECT_EQ(dag_path(s, 6), "|grp|b|shape");
                        EXPECT_EQ(s.nodes[6].parent, 5);
                        EXPECT_EQ(path_of(s, "r:m"), "|r:ctrl|r:m");
                        EXPECT_EQ(node(s, "r:m")->parent, -1);
                        EXPECT_EQ(path_of(s, "file1"), "");
                        // a parent path that runs into another file's nodes, and a node named as its parent
                        EXPECT_EQ(node(s, "leaf")->parent, 7);
                        EXPECT_EQ(path_of(s, "leaf"), "|r:ctrl|r:m|leaf");
                        EXPECT_EQ(s.nodes[10].name, "a");
                        EXPECT_EQ(s.nodes[10].parent, 3);
                        EXPECT_EQ(dag_path(s, 10), "|grp|a|a");
                      }},
        StatementCase{"shared_node_merges", "createNode aiOptions -s -n \"opts\";\ncreateNode aiOptions -s -n \"opts\";\n\tsetAttr \".x\" 2;\n",
                      [](const Scene& s) {
                        int count = 0;
                        for (const Node& n : s.nodes) count += n.name == "opts";
                        EXPECT_EQ(count, 1);
                        EXPECT_EQ(*attr(s, "opts", "x"), Value::integer(2));
                      }},
        StatementCase{"rename_uid_and_name", "createNode transform -n \"a\";\n\trename -uid \"84384D92\";\n"
                                             "createNode mesh -n \"m\" -p \"a\";\nrename \"a\" \"b\";\n",
                      [](const Scene& s) {
                        EXPECT_EQ(s.uuids.text(index_of(s, "b")), "84384D92");
                        EXPECT_EQ(path_of(s, "m"), "|b|m");
                      }},
        StatementCase{"set_attr_scalars_and_long_names",
                      "createNode camera -n \"c\";\n\tsetAttr -k off \".v\" no;\n\tsetAttr \".fl\" 35;\n"
                      "\tsetAttr \".renderable\" no;\n\tsetAttr -l on \".o\" yes;\n\tsetAttr \".imn\" -type \"string\" \"persp\";\n",
                      [](const Scene& s) {
                        EXPECT_EQ(*attr(s, "c", "visibility"), Value::boolean(false));
                        EXPECT_EQ(*attr(s, "c", "focalLength"), Value::real(35));
                        EXPECT_EQ(*attr(s, "c", "renderable"), Value::boolean(false));
                        EXPECT_EQ(*attr(s, "c", "orthographic"), Value::boolean(true));
                        EXPECT_EQ(*attr(s, "c", "imageName"), Value::string("persp"));
                      }},
        StatementCase{"set_attr_tuples_and_arrays",
                      "createNode transform -n \"t\";\n\tsetAttr \".t\" -type \"double3\" 0 1000.1 0 ;\n"
                      "\tsetAttr \".rlio[0]\" 1 yes 0;\n"
                      "createNode AlembicNode -n \"abc\";\n\tsetAttr \".fns\" -type \"stringArray\" 2 \"a.abc\" \"b.abc\"  ;\n",
                      [](const Scene& s) {
                        EXPECT_EQ(*attr(s, "t", "translate"), tuple({Value::real(0), Value::real(1000.1), Value::real(0)}));
                        EXPECT_EQ(*attr(s, "t", "renderLayerInfo[0]"),
                                  tuple({Value::integer(1), Value::boolean(true), Value::integer(0)}));
                        Value arr;
                        arr.kind = Value::Kind::StringArray;
                        arr.items = {Value::string("a.abc"), Value::string("b.abc")};
                        EXPECT_EQ(*attr(s, "abc", "abc_FileNames"), arr);
                      }},
        StatementCase{"set_attr_short_scalar_range",
                      "createNode renderLayerManager -n \"renderLayerManager\";\n\tsetAttr \".crl\" 1;\n"
                      "\tsetAttr -s 3 \".rlmi[1:2]\"  1 2;\n\tsetAttr -s 2 \".x[0:1]\" 1 2 3 4;\n",
                      [](const Scene& s) {
                        EXPECT_EQ(*attr(s, "renderLayerManager", "renderLayerId[1]"), Value::integer(1));
                        EXPECT_EQ(*attr(s, "renderLayerManager", "renderLayerId[2]"), Value::integer(2));
                        EXPECT_EQ(attr(s, "renderLayerManager", "x[0]"), std::nullopt);  // two values per element
                      }},
        StatementCase{"set_attr_concatenated_string",
                      "createNode script -n \"s\";\n\tsetAttr \".b\" -type \"string\" (\n\t\t\"line1;\\n\"\n\t\t+ \"\\\"q\\\" // c\");\n",
                      [](const Scene& s) { EXPECT_EQ(*attr(s, "s", "before"), Value::string("line1;\n\"q\" // c")); }},
        StatementCase{"set_attr_absolute_and_select",
                      "setAttr \"defaultRenderGlobals.ren\" -type \"string\" \"arnold\";\n"
                      "select -ne :defaultRenderGlobals;\n\tsetAttr \".imageFilePrefix\" -type \"string\" \"<Scene>\";\n"
                      "select -noExpand :defaultResolution;\n\tsetAttr \".w\" 1920;\n"
                      "createNode transform -n \"g\";\ncreateNode transform -n \"k\" -p \"g\";\nsetAttr \"|g|k.tx\" 2;\n",
                      [](const Scene& s) {
                        EXPECT_EQ(*attr(s, "defaultRenderGlobals", "currentRenderer"), Value::string("arnold"));
                        EXPECT_EQ(*attr(s, "defaultRenderGlobals", "imageFilePrefix"), Value::string("<Scene>"));
                        EXPECT_EQ(*attr(s, "defaultResolution", "width"), Value::integer(1920));
                        EXPECT_TRUE(node(s, "defaultResolution")->implicit);
                        EXPECT_EQ(*attr(s, "k", "translateX"), Value::real(2));
                      }},
        StatementCase{"set_attr_bulk_data_skipped",
                      "createNode mesh -n \"m\";\n\tsetAttr -s 4 \".vt[0:3]\" -type \"float3\" 0 0 0 1 1 1\n\t\t 2 2 2 3 3 3;\n"
                      "\tsetAttr -s 2 -ch 6 \".fc[0:1]\" -type \"polyFaces\"\n\t\tf 3 0 1 2\n\t\tmu 0 3 0 1 2;\n"
                      "\tsetAttr \".aal\" -type \"attributeAlias\" {\"exposure\",\"aiExposure\"} ;\n"
                      "\tsetAttr \".ed\" -type \"dataReferenceEdits\" \"rigRN\" \"rigRN\" 0;\n\tsetAttr -s 15 \".lnk\";\n"
                      "\tsetAttr \".big\" 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30"
                      " 31 32 33 34 35 36 37 38 39 40 41 42 43 44 45 46 47 48 49 50 51 52 53 54 55 56 57 58 59 60 61 62 63 64 65;\n"
                      "\tsetAttr \".after\" 7;\n",
                      [](const Scene& s) {
                        const Node* m = node(s, "m");
                        ASSERT_EQ(m->attrs.size(), 1u);
                        EXPECT_EQ(*attr(s, "m", "after"), Value::integer(7));
                      }},
        StatementCase{"add_attr_dynamic_names",
                      "createNode xgmPalette -n \"p\";\n\taddAttr -ci true -sn \"xgv\" -ln \"xgVersion\" -dt \"string\";\n"
                      "\taddAttr -ci true -k true -sn \"cnt\" -ln \"count\" -min 0 -max 5 -at \"long\";\n"
                      "\taddAttr -s false -ci true -sn \"tmp\" -ln \"temporary\" -at \"double\";\n"
                      "\taddAttr -ci true -m -uac -sn \"cl\" -ln \"colors\" -at \"float3\" -nc 3;\n"
                      "\taddAttr -sn \"big\" -ln \"big\" -dv 1e300 -at \"long\";\n"
                      "\tsetAttr \".xgv\" -type \"string\" \"2.0\";\n\tsetAttr \".xfn\" -type \"string\" \"p.xgen\";\n",
                      [](const Scene& s) {
                        EXPECT_EQ(*attr(s, "p", "xgVersion"), Value::string("2.0"));
                        EXPECT_EQ(*attr(s, "p", "xgFileName"), Value::string("p.xgen"));
                        const Node* p = node(s, "p");
                        ASSERT_EQ(p->dynamic.size(), 5u);
                        EXPECT_EQ(p->dynamic[1].long_name, "count");
                        EXPECT_EQ(p->dynamic[1].default_value, Value::integer(0));
                        // switches that take on/off keep their word, which is no node name
                        EXPECT_EQ(p->dynamic[2].long_name, "temporary");
                        EXPECT_EQ(p->dynamic[3].type, "float3");
                        EXPECT_FALSE(p->dynamic[3].has_default);
                        EXPECT_EQ(p->dynamic[4].default_value, Value::integer(0));  // no integer holds 1e300
                      }},
        StatementCase{"connections",
                      "createNode file -n \"f\";\nconnectAttr \"f.oc\" \"sh.c\";\n"
                      "connectAttr \":defaultArnoldDriver.msg\" \":opts.imagers\" -na\n\t\t;\n"
                      "connectAttr \"d.msg\" \":opts.imagers\" -na;\nconnectAttr \"x.a\" \"y.b\";\ndisconnectAttr \"x.a\" \"y.b\";\n"
                      "connectAttr \"x.a\" \"y.c\";\nconnectAttr \"x.a\" \"y.c\";\ndisconnectAttr \"x.a\" \"y.c\";\n"
                      "connectAttr \"x.a\" \"y.c\";\n",
                      [](const Scene& s) {
                        // A disconnect undoes the connections of its pair made before it, not after.
                        ASSERT_EQ(s.connections.size(), 4u);
                        EXPECT_EQ(s.connections[3].destination(), "y.c");
                        EXPECT_EQ(s.connections[0].source(), "f.outColor");
                        EXPECT_EQ(s.connections[1].source(), "defaultArnoldDriver.msg");
                        EXPECT_EQ(s.connections[1].destination(), "opts.imagers[0]");
                        EXPECT_EQ(s.connections[2].destination(), "opts.imagers[1]");
                      }},
        StatementCase{"default_nodes_connected_to_exist",
                      "createNode mesh -n \"m\";\nconnectAttr \"m.iog\" \":initialShadingGroup.dsm\" -na;\n",
                      [](const Scene& s) {
                        const Node* set = node(s, "initialShadingGroup");
                        ASSERT_NE(set, nullptr);
                        EXPECT_TRUE(set->implicit);
                        EXPECT_EQ(set->type, "shadingEngine");
                        EXPECT_EQ(s.connections[0].destination(), "initialShadingGroup.dagSetMembers[0]");
                      }},
        StatementCase{"relationship_lock_and_unknown",
                      "relationship \"link\" \":lightLinker1\" \":initialShadingGroup.message\";\n"
                      "createNode reference -n \"rigRN\";\nlockNode -l 1 ;\n"
                      "dataStructure -fmt \"raw\" -as \"name=x:string=y;\";\nparent -s -nc -r -add \"|a|b\" \"c\";\n",
                      [](const Scene& s) {
                        ASSERT_EQ(s.relationships.size(), 1u);
                        EXPECT_EQ(s.relationships[0].members[0], "lightLinker1");
                        EXPECT_TRUE(node(s, "rigRN")->locked);
                      }},
        StatementCase{"implicit_defaults", "",
                      [](const Scene& s) {
                        ASSERT_NE(node(s, "defaultRenderLayer"), nullptr);
                        EXPECT_EQ(node(s, "defaultRenderLayer")->type, "renderLayer");
                        EXPECT_EQ(node(s, "defaultRenderGlobals")->type, "renderGlobals");
                        EXPECT_EQ(node(s, "renderLayerManager")->type, "renderLayerManager");
                      }}),
    [](const auto& info) { return std::string(info.param.name); });

struct BadCase {
  const char* name;
  std::string text;  // the whole file
  std::int64_t line;
  const char* reason;
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class BadFileTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadFileTest, OneErrorWithLine) {
  try {
    read_text(GetParam().text, "bad.ma");
    FAIL() << "no error";
  } catch (const ParseError& e) {
    EXPECT_EQ(e.line(), GetParam().line) << e.what();
    EXPECT_NE(e.reason().find(GetParam().reason), std::string::npos) << e.what();
    EXPECT_EQ(std::string(e.what()).rfind("bad.ma:", 0), 0u) << e.what();
  }
}

const std::string H = kHeader;

INSTANTIATE_TEST_SUITE_P(
    Errors, BadFileTest,
    ::testing::Values(
        BadCase{"empty", "", 1, "not a Maya ASCII file"},
        BadCase{"not_maya", "hello world;\n", 1, "not a Maya ASCII file"},
        BadCase{"maya_binary_32", std::string("FOR4\0\0\x01\x20Maya", 12), 1, "not a Maya ASCII file (Maya Binary)"},
        BadCase{"maya_binary_64", std::string("FOR8\0\0\0\0\0\0\x01\x20Maya", 16), 1, "not a Maya ASCII file (Maya Binary)"},
        BadCase{"truncated_in_statement", H + "createNode transform -n \"a\";\n\tsetAttr \".t\" -type \"double3\" 0 1", 6, "'setAttr' has no closing ';'"},
        BadCase{"truncated_in_skipped_values", H + "createNode mesh -n \"m\";\n\tsetAttr -s 3 \".vt[0:2]\"\n\t\t 0 0 0 1 1", 6, "'setAttr' has no closing ';'"},
        BadCase{"truncated_in_string", H + "createNode script -n \"s\";\n\tsetAttr \".b\" -type \"string\" \"abc", 6, "unterminated string"},
        BadCase{"truncated_at_statement_end", H + "createNode transform -n \"a\";\n", 6, "no closing '// End of' line"},
        BadCase{"garbage_command", H + "createNode transform -n \"a\";\n#!@ x;\n// End of t.ma\n", 6, "expected a command name"},
        BadCase{"string_command", H + "\"x\" y;\n// End of t.ma\n", 5, "expected a command name"},
        BadCase{"create_without_type", H + "\ncreateNode -n \"a\";\n// End of t.ma\n", 6, "without a node type"},
        BadCase{"requires_nothing", H + "requires -nodeType \"x\";\n// End of t.ma\n", 5, "without a plug-in name"},
        BadCase{"connect_one_plug", H + "connectAttr \"a.b\";\n// End of t.ma\n", 5, "two plugs"},
        BadCase{"set_attr_without_path", H + "setAttr -k on;\n// End of t.ma\n", 5, "without an attribute path"},
        BadCase{"string_type_with_number", H + "createNode script -n \"s\";\nsetAttr \".b\" -type \"string\" 5;\n// End of t.ma\n", 6, "needs a string value"},
        BadCase{"endless_word", H + std::string((1 << 20) + 1, 'a') + ";\n// End of t.ma\n", 5, "a word longer than 1 MiB"},
        BadCase{"binary_garbage", H + "createNode transform -n \"a\";\n\x01\x02\x03;\n// End of t.ma\n", 6, "byte 0x01"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadText, CodesetHeaderChoosesHowBackslashesRead) {
  // A Windows path D:\<c>\tex.png (backslashes escaped) whose character <c> ends in byte 0x5C in
  // the double-byte code pages: GBK 乗 81 5C, Big5 功 A5 5C, Shift-JIS ソ 83 5C. Read as an escape,
  // that byte would turn the next "\\t" into "\" and a tab, as it does in 1252 (D6 is Ö there).
  struct Case {
    const char* codeset;
    std::string character;
    std::string expected;
  };
  const Case cases[] = {{"936", "\x81\x5c", "D:\\\x81\x5c\\tex.png"},
                        {"950", "\xa5\x5c", "D:\\\xa5\x5c\\tex.png"},
                        {"932", "\x83\x5c", "D:\\\x83\x5c\\tex.png"},
                        {"1252", "\xd6\x5c", "D:\\\xd6\\\tex.png"}};
  for (const Case& c : cases) {
    const std::string text = std::string("//Maya ASCII 2025ff03 scene\n//Codeset: ") + c.codeset +
                             "\ncreateNode file -n \"tex\";\n\tsetAttr \".ftn\" -type \"string\" \"D:\\\\" +
                             c.character + "\\\\tex.png\";\n" + kTrailer;
    const Scene s = read_text(text, "t.ma");
    ASSERT_TRUE(attr(s, "tex", "fileTextureName").has_value()) << c.codeset;
    EXPECT_EQ(*attr(s, "tex", "fileTextureName"), Value::string(c.expected)) << c.codeset;
  }
}

TEST(ReadFile, MissingFileIsAnIoError) {
  EXPECT_THROW(read_file("/nonexistent/dir/x.ma"), std::runtime_error);
}

TEST(ReadSource, SmallChunksGiveTheSameScene) {
  const std::string text = H +
                           "createNode script -n \"s\";\n\tsetAttr \".b\" -type \"string\" (\"a\" + \"b\");\n"
                           "createNode mesh -n \"m\";\n\tsetAttr -s 2 \".vt[0:1]\" -type \"float3\" 0 0 0 1 1 1;\n" +
                           kTrailer;
  MemorySource source(text);
  const Scene s = read_source(source, "t.ma", 5);
  EXPECT_EQ(*attr(s, "s", "before"), Value::string("ab"));
  EXPECT_TRUE(node(s, "m")->attrs.empty());
}

}  // namespace
}  // namespace mayascene
