#include <gtest/gtest.h>

#include "mayascene/names.h"

namespace mayascene {
namespace {

struct NameCase {
  const char* type;
  const char* path;
  const char* canonical;
};

void PrintTo(const NameCase& c, std::ostream* os) { *os << c.type << "." << c.path; }

class CanonicalPathTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(CanonicalPathTest, UsesLongNames) {
  DynamicAttributes dynamic;
  dynamic.push_back({"xgv", "xgVersion", "string", false, {}});
  EXPECT_EQ(canonical_path(GetParam().type, GetParam().path, dynamic), GetParam().canonical);
}

INSTANTIATE_TEST_SUITE_P(
    Names, CanonicalPathTest,
    ::testing::Values(NameCase{"renderGlobals", "ren", "currentRenderer"},
                      NameCase{"renderGlobals", "currentRenderer", "currentRenderer"},
                      NameCase{"renderGlobals", "ifp", "imageFilePrefix"},
                      NameCase{"file", "ftn", "fileTextureName"},
                      NameCase{"psdFileTex", "ftn", "fileTextureName"},  // inherited
                      NameCase{"script", "b", "before"},
                      NameCase{"camera", "den", "depthName"},            // same short name,
                      NameCase{"aiAOV", "den", "denoise"},               // different attribute
                      NameCase{"renderLayer", "rndr", "renderable"},
                      NameCase{"stereoRigCamera", "rnd", "renderable"},
                      NameCase{"AlembicNode", "fn", "abc_File"},
                      NameCase{"reference", "fn[0]", "fileNames[0]"},
                      NameCase{"transform", "iog[0].og[1].gcl", "instObjGroups[0].objectGroups[1].objectGrpCompList"},
                      NameCase{"renderLayerManager", "rlmi[0:3]", "renderLayerId[0:3]"},
                      NameCase{"xgmPalette", "xgv", "xgVersion"},
                      NameCase{"mesh", "vt[2]", "vt[2]"},                // unknown names stay
                      NameCase{"unknownPluginNode", "msg", "message"}),
    [](const auto& info) { return std::string(info.param.type) + "_" + std::to_string(info.index); });

// Lookups answer the same below and above the length at which a node's attributes are indexed: the
// first attribute of a name wins, by short or long name, and a copy changed later leaves the
// original as it was.
TEST(DynamicAttributesLookup, FirstOfANameAtAnyLength) {
  for (const int count : {3, 40}) {
    DynamicAttributes dynamic;
    for (int k = 0; k < count; ++k) {
      dynamic.push_back({"s" + std::to_string(k), "long" + std::to_string(k), "double", false, {}});
    }
    dynamic.push_back({"long1", "other", "bool", false, {}});  // short name of one, after it
    dynamic.push_back({"s2", "again", "bool", false, {}});     // a short name taken twice
    SCOPED_TRACE(count);
    ASSERT_NE(dynamic.find("s1"), nullptr);
    EXPECT_EQ(dynamic.find("s1")->long_name, "long1");
    EXPECT_EQ(dynamic.find("long1")->short_name, "s1");
    EXPECT_EQ(dynamic.find("s2")->long_name, "long2");
    EXPECT_EQ(dynamic.find("other")->short_name, "long1");
    EXPECT_EQ(dynamic.find_long("long1")->short_name, "s1");
    EXPECT_EQ(dynamic.find_long("s1"), nullptr);
    EXPECT_EQ(dynamic.find("absent"), nullptr);

    DynamicAttributes copy = dynamic;
    copy.push_back({"late", "lateAdded", "bool", false, {}});
    copy.change_each([](DynamicAttribute& attribute) { attribute.has_default = true; });
    EXPECT_EQ(dynamic.find("late"), nullptr);
    EXPECT_FALSE(dynamic.find("s1")->has_default);
    EXPECT_EQ(copy.find("late")->long_name, "lateAdded");
    EXPECT_TRUE(copy.find("s1")->has_default);
  }
}

TEST(TypeHierarchy, LsTypeSemantics) {
  EXPECT_TRUE(inherits("stereoRigCamera", "camera"));
  EXPECT_TRUE(inherits("camera", "shape"));
  EXPECT_TRUE(inherits("mesh", "dagNode"));
  EXPECT_TRUE(inherits("psdFileTex", "texture2d"));
  EXPECT_TRUE(inherits("file", "file"));
  EXPECT_TRUE(inherits("xgmPalette", "transform"));
  EXPECT_FALSE(inherits("transform", "shape"));
  EXPECT_FALSE(inherits("camera", "stereoRigCamera"));
  EXPECT_FALSE(inherits("renderLayer", "dagNode"));
  EXPECT_TRUE(inherits("somePluginType", "somePluginType"));
  EXPECT_EQ(type_ancestry("stereoRigCamera"),
            (std::vector<std::string>{"stereoRigCamera", "camera", "shape", "dagNode", "entity"}));
}

TEST(Defaults, MayaDefaultsWhenUnset) {
  Value v;
  ASSERT_TRUE(default_value(*find_attribute("renderGlobals", "ren"), &v));
  EXPECT_EQ(v, Value::string("mayaSoftware"));
  EXPECT_FALSE(default_value(*find_attribute("renderGlobals", "ifp"), &v));  // no value: None
  ASSERT_TRUE(default_value(*find_attribute("aiAOV", "denoise"), &v));
  EXPECT_EQ(v, Value::boolean(false));
  ASSERT_TRUE(default_value(*find_attribute("VRaySettingsNode", "productionEngine"), &v));
  EXPECT_EQ(v, Value::integer(0));
  ASSERT_TRUE(default_value(*find_attribute("camera", "renderable"), &v));
  EXPECT_EQ(v, Value::boolean(true));
  EXPECT_EQ(find_attribute("renderLayer", "ftn"), nullptr);
}

TEST(Codeset, PythonCodecNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"UTF-8", "utf-8"}, {"", "utf-8"},  {"1252", "cp1252"}, {"936", "gbk"},
      {"949", "cp949"},   {"GBK", "gbk"}, {"ANSI_X3.4-1968", "ascii"}, {"ISO-8859-1", "iso-8859-1"}};
  for (const auto& c : cases) EXPECT_EQ(codec_for_codeset(c.first), c.second) << c.first;
}

TEST(Codeset, DoubleByteEncodings) {
  const std::pair<const char*, DoubleByteEncoding> cases[] = {
      {"936", DoubleByteEncoding::GbkOrBig5},   {"GBK", DoubleByteEncoding::GbkOrBig5},
      {"GB2312", DoubleByteEncoding::GbkOrBig5}, {"54936", DoubleByteEncoding::GbkOrBig5},
      {"950", DoubleByteEncoding::GbkOrBig5},   {"Big5", DoubleByteEncoding::GbkOrBig5},
      {"932", DoubleByteEncoding::ShiftJis},    {"Shift_JIS", DoubleByteEncoding::ShiftJis},
      {"1252", DoubleByteEncoding::None},       {"949", DoubleByteEncoding::None},
      {"UTF-8", DoubleByteEncoding::None},      {"", DoubleByteEncoding::None}};
  for (const auto& c : cases) EXPECT_EQ(double_byte_encoding(c.first), c.second) << c.first;
}

}  // namespace
}  // namespace mayascene
