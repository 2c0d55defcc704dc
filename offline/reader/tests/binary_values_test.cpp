// The layouts of single chunks: attribute values, addAttr, reference edits; units, texts and
// type names.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "binary/container.h"
#include "binary/decoders.h"
#include "binary/text.h"
#include "binary/type_ids.h"
#include "binary/units.h"
#include "mb_builder.h"

namespace mayascene {
namespace binary {
namespace {

using testing_mb::be;
using testing_mb::f32;
using testing_mb::f64;
using testing_mb::u32;
using testing_mb::u8;
using testing_mb::z;

Value tuple(std::vector<Value> items) {
  Value v;
  v.kind = Value::Kind::Tuple;
  v.items = std::move(items);
  return v;
}

Value strings(std::vector<std::string> items) {
  Value v;
  v.kind = Value::Kind::StringArray;
  for (auto& s : items) v.items.push_back(Value::string(s));
  return v;
}

std::string ticks64(std::int64_t t) { return be(static_cast<std::uint64_t>(t), 8); }

struct ValueCase {
  const char* name;
  const char* id;
  std::string attr;
  std::string payload;
  const char* node_type;
  std::vector<std::pair<std::string, Value>> expected;
  std::uint8_t flags = 0x20;
  double ticks_per_second = 0;
  bool transform = false;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << c.name; }

class ValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueTest, KeepsWhatTheAsciiReaderKeeps) {
  const ValueCase& c = GetParam();
  DynamicAttribute flag;
  flag.short_name = "flag";
  flag.long_name = "myFlag";
  flag.type = "bool";
  DynamicAttributes dynamic;
  dynamic.push_back(flag);
  ValueContext context;
  context.node_type = c.node_type;
  context.dynamic = &dynamic;
  context.frames_per_second = 24;
  context.ticks_per_second = c.ticks_per_second;
  context.transform = c.transform;
  context.angle_factor = radians_to("degree");
  const std::string id(c.id);
  const char tag_text[5] = {id[0], id[1], id[2], id[3], '\0'};
  const auto values = decode_value(tag(tag_text), z(c.attr) + u8(c.flags) + c.payload, context);
  ASSERT_EQ(values.size(), c.expected.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(values[i].first, c.expected[i].first);
    EXPECT_EQ(values[i].second, c.expected[i].second) << values[i].first;
  }
}

const double kHalfPi = std::acos(0.0);

INSTANTIATE_TEST_SUITE_P(
    Values, ValueTest,
    ::testing::Values(
        ValueCase{"string", "STR ", "ftn", z("C:/tex/a b.png"), "file", {{"ftn", Value::string("C:/tex/a b.png")}}},
        ValueCase{"string_without_nul", "STR ", "b", "print 1", "script", {{"b", Value::string("print 1")}}},
        ValueCase{"string_array", "STR#", "fns", u32(2) + z("a.abc") + z("b.abc"), "AlembicNode",
                  {{"fns", strings({"a.abc", "b.abc"})}}},
        ValueCase{"long_string_array_is_bulk", "STR#", "l", u32(64) + std::string(64, '\0'), "x", {}},
        ValueCase{"boolean_by_table", "DBLE", "rnd", f64(0), "camera", {{"rnd", Value::boolean(false)}}},
        ValueCase{"boolean_by_dynamic_attribute", "DBLE", "flag", f64(1), "transform", {{"flag", Value::boolean(true)}}},
        ValueCase{"real_by_table", "DBLE", "fl", f64(35), "camera", {{"fl", Value::real(35)}}},
        ValueCase{"whole_number_as_written", "DBLE", "st", f64(3), "script", {{"st", Value::integer(3)}}},
        ValueCase{"fraction", "DBLE", "w0", f64(0.25), "parentConstraint", {{"w0", Value::real(0.25)}}},
        ValueCase{"range", "DBLE", "rlmi[1:3]", f64(1) + f64(2) + f64(2.5), "renderLayerManager",
                  {{"rlmi[1]", Value::integer(1)}, {"rlmi[2]", Value::integer(2)}, {"rlmi[3]", Value::real(2.5)}}},
        ValueCase{"range_of_other_elements", "DBLE", "wl[0:1].w", std::string(32, '\0'), "skinCluster", {}},
        ValueCase{"long_range_is_bulk", "DBLE", "v[0:64]", std::string(65 * 8, '\0'), "x", {}},
        ValueCase{"time_as_32_bit_ticks", "DBLE", "o", u32(6250), "time", {{"o", Value::integer(25)}}},
        ValueCase{"negative_time", "DBLE", "o", u32(static_cast<std::uint32_t>(-250)), "time", {{"o", Value::integer(-1)}}},
        ValueCase{"time_as_64_bit_ticks", "DBLE", "ef", ticks64(47040000), "renderGlobals", {{"ef", Value::real(8)}},
                  0x20, 141120000},
        ValueCase{"negative_64_bit_ticks", "DBLE", "fs", ticks64(-2940000), "renderGlobals",
                  {{"fs", Value::real(-0.5)}}, 0x20, 141120000},
        ValueCase{"zero_time", "DBLE", "o", ticks64(0), "time", {{"o", Value::integer(0)}}, 0x20, 141120000},
        ValueCase{"a_real_is_no_tick_count", "DBLE", "ef", f64(10), "renderGlobals", {{"ef", Value::real(10)}}, 0x20,
                  141120000},
        ValueCase{"double3", "DBL3", "t", f64(1) + f64(-2.5) + f64(3), "transform",
                  {{"t", tuple({Value::real(1), Value::real(-2.5), Value::real(3)})}}},
        ValueCase{"rotation_in_the_angle_unit", "DBL3", "r", f64(kHalfPi) + f64(0) + f64(-kHalfPi), "joint",
                  {{"r", tuple({Value::real(90), Value::real(0), Value::real(-90)})}}, 0x20, 0, true},
        ValueCase{"scalar_rotation", "DBLE", "rx", f64(kHalfPi), "transform", {{"rx", Value::real(90)}}, 0x20, 0, true},
        ValueCase{"rotation_of_no_transform", "DBL3", "r", f64(1) + f64(0) + f64(0), "polyCube",
                  {{"r", tuple({Value::real(1), Value::real(0), Value::real(0)})}}},
        ValueCase{"float3_as_a_ma_writes_it", "FLT3", "c", f32(0.571f) + f32(1) + f32(-5.6424603f), "lambert",
                  {{"c", tuple({Value::real(0.57099998), Value::real(1), Value::real(-5.6424603)})}}},
        ValueCase{"long2", "LNG2", "bs", u32(64) + u32(static_cast<std::uint32_t>(-1)), "x",
                  {{"bs", tuple({Value::integer(64), Value::integer(-1)})}}},
        ValueCase{"short2", "SRT2", "cov", be(2, 2) + be(0xFFFE, 2), "imagePlane",
                  {{"cov", tuple({Value::integer(2), Value::integer(-2)})}}},
        ValueCase{"tuple_range_is_bulk", "FLT3", "pt[0:1]", std::string(24, '\0'), "mesh", {}},
        ValueCase{"matrix", "MATR", "xm", std::string(128, '\0'), "x", {{"xm", tuple(std::vector<Value>(16, Value::real(0)))}}},
        ValueCase{"xform_matrix_is_skipped", "MATR", "xm[0]", std::string(328, '\0'), "dagPose", {}},
        ValueCase{"size_only", "DBLE", "lnk", u32(15), "lightLinker", {}, 0x28},
        ValueCase{"wrong_size", "DBL3", "t", f64(1), "transform", {}}));

TEST(ValueTest, MalformedChunkThrows) {
  ValueContext context;
  EXPECT_THROW(decode_value(tag("STR "), "no nul", context), Malformed);
  EXPECT_THROW(decode_value(tag("DBLE"), z("v"), context), Malformed);  // no flag byte
}

std::string attr_chunk(const char* kind, std::uint32_t flags, bool wide, const std::string& after_flags) {
  return std::string(kind) + (wide ? u32(flags) : be(flags, 2)) + after_flags;
}

TEST(AddedAttribute, BothFlagLayouts) {
  struct Case {
    const char* name;
    std::string data;
    const char* long_name;
    const char* short_name;
    const char* type;
    bool has_default;
    Value default_value;
  };
  const Case cases[] = {
      {"double_with_default", attr_chunk("aDBL", 0x00F80048, true, u32(1) + u32(0) + z("fat") + z("ft") + u32(0) + "DBLE" + f64(1.5)),
       "fat", "ft", "double", true, Value::real(1.5)},
      {"string", attr_chunk("aTYP", 0x00F80040, true, u32(1) + "STR " + z("notes") + z("nts") + u32(0)), "notes", "nts",
       "string", false, Value()},
      {"enum_with_limits", attr_chunk("aENM", 0x00F8424E, true, u32(1) + u32(0) + z("mode") + z("mode") + z("a:b:c") + u32(0) +
                                                                   f64(0) + f64(2) + "DBLE" + f64(2)),
       "mode", "mode", "enum", true, Value::integer(2)},
      {"child_of_a_compound", attr_chunk("aDBL", 0x00F80068, true, u32(1) + u32(0) + z("vectX") + z("vx") + z("vect") + u32(0) + "DBLE" + f64(0)),
       "vectX", "vx", "double", true, Value::real(0)},
      {"message", attr_chunk("aMSG", 0x00400000, true, u32(1) + "aMSG" + z("drv") + z("drv") + u32(0)), "drv", "drv", "message",
       false, Value()},
      {"bool_without_default", attr_chunk("aBOL", 0x0040, true, u32(1) + u32(0) + z("on") + z("on") + u32(0)), "on", "on", "bool",
       true, Value::boolean(false)},
      {"maya_2008_double", attr_chunk("aDBL", 0x0048, false, u32(1) + u32(0) + z("lifespan") + z("lifespan") + "life" + "DBLE" + f64(3)),
       "lifespan", "lifespan", "double", true, Value::real(3)},
      {"maya_2008_typed", attr_chunk("aTYP", 0x2040, false, u32(1) + "DBL#" + z("lifespanPP") + z("lifespanPP") + "life"), "lifespanPP",
       "lifespanPP", "doubleArray", false, Value()},
      {"maya_2008_short_with_limits", attr_chunk("aSI1", 0x004E, false, u32(1) + u32(0) + z("sampleRate") + z("srt") + "UNKN" + f64(1) +
                                                                           f64(8) + "DBLE" + f64(5)),
       "sampleRate", "srt", "short", true, Value::integer(5)},
  };
  for (const Case& c : cases) {
    const DynamicAttribute a = decode_added_attribute(c.data);
    EXPECT_EQ(a.long_name, c.long_name) << c.name;
    EXPECT_EQ(a.short_name, c.short_name) << c.name;
    EXPECT_EQ(a.type, c.type) << c.name;
    EXPECT_EQ(a.has_default, c.has_default) << c.name;
    if (c.has_default) {
      EXPECT_EQ(a.default_value, c.default_value) << c.name;
    }
  }
  const std::string huge = attr_chunk("aLI1", 0x00F80048, true, u32(1) + u32(0) + z("n") + z("n") + u32(0) + "DBLE" + f64(1e300));
  EXPECT_EQ(decode_added_attribute(huge).default_value, Value::integer(0));
  EXPECT_THROW(decode_added_attribute("aXYZ" + u32(0)), Malformed);
  EXPECT_THROW(decode_added_attribute("aDBL" + u32(0) + u32(1) + u32(9999)), Malformed);
}

std::string edit(std::uint32_t code, std::vector<std::string> fields) {
  std::string out = u32(code);
  for (const auto& f : fields) out += z(f);
  return out;
}

TEST(ReferenceEdits, TwoPassesOfGroups) {
  const std::string data = z("ed") + u8(0x20) + z("rigRN") + u32(1) + z("rigRN") + u32(0) + u32(2) + z("rigRN") + u32(3) +
                           edit(2, {"|rig:grp|rig:ctrl", "footRoll", " -k 1"}) +
                           u32(5) + edit(4, {"rigRN", "|rig:ctrl.translateX", "rigRN.placeHolderList[1]", ""}) +
                           edit(2, {"rig:file1", "fileTextureName", " -type \"string\" \"D:/t.png\""}) +
                           z("rig:subRN") + u32(1) + edit(0, {"|rig:a", "|rig:b", "-s -r "});
  std::size_t undecoded = 9;
  const ReferenceEdits e = decode_reference_edits(data, "rigRN", &undecoded);
  EXPECT_EQ(undecoded, 0u);
  EXPECT_EQ(e.holder, "rigRN");
  EXPECT_EQ(e.owner, "rigRN");
  ASSERT_EQ(e.groups.size(), 3u);
  EXPECT_TRUE(e.groups[0].edits.empty());
  ASSERT_EQ(e.groups[1].edits.size(), 3u);
  EXPECT_EQ(e.groups[1].edits[0].code, 2);
  EXPECT_EQ(e.groups[1].edits[0].fields, (std::vector<std::string>{"|rig:grp|rig:ctrl", "footRoll", " -k 1"}));
  EXPECT_EQ(e.groups[1].edits[1].code, 5);
  EXPECT_EQ(e.groups[1].edits[1].fields,
            (std::vector<std::string>{"4", "rigRN", "|rig:ctrl.translateX", "rigRN.placeHolderList[1]", ""}));
  EXPECT_EQ(e.groups[1].edits[2].fields[2], " -type \"string\" \"D:/t.png\"");
  EXPECT_EQ(e.groups[2].reference_node, "rig:subRN");
  EXPECT_EQ(e.groups[2].edits[0].code, 0);
}

TEST(ReferenceEdits, AnUnknownCodeEndsTheDecoding) {
  const std::string data = z("ed") + u8(0x20) + z("rigRN") + u32(1) + z("rigRN") + u32(3) + edit(2, {"a", "b", " 1"}) +
                           edit(9, {"?"}) + edit(2, {"c", "d", " 2"});
  std::size_t undecoded = 0;
  const ReferenceEdits e = decode_reference_edits(data, "rigRN", &undecoded);
  ASSERT_EQ(e.groups.size(), 1u);
  EXPECT_EQ(e.groups[0].edits.size(), 1u);
  EXPECT_EQ(undecoded, 2u);
}

TEST(ReferenceEdits, AMisreadLayoutIsDropped) {
  // Code 3 written with two fields here: the next record would not open with a known code.
  const std::string data = z("ed") + u8(0x20) + z("rigRN") + u32(1) + z("rigRN") + u32(2) + edit(3, {"a.o", "b.i"}) +
                           edit(2, {"c", "d", " 2"});
  std::size_t undecoded = 0;
  const ReferenceEdits e = decode_reference_edits(data, "rigRN", &undecoded);
  EXPECT_TRUE(e.groups[0].edits.empty());
  EXPECT_EQ(undecoded, 2u);
}

TEST(Units, NamesAndRates) {
  EXPECT_EQ(linear_unit_name("cm"), "centimeter");
  EXPECT_EQ(linear_unit_name("ft"), "foot");
  EXPECT_EQ(linear_unit_name("parsec"), "parsec");
  EXPECT_EQ(angle_unit_name("rad"), "radian");
  const std::pair<const char*, double> rates[] = {{"film", 24}, {"ntsc", 30}, {"ntscf", 60}, {"pal", 25},
                                                  {"game", 15}, {"23.976fps", 23.976}, {"29.97df", 29.97},
                                                  {"120fps", 120}, {"sec", 1}, {"bogus", 24}, {"fps", 24}};
  for (const auto& r : rates) EXPECT_DOUBLE_EQ(frames_per_second(r.first), r.second) << r.first;
  EXPECT_EQ(frames_from_ticks(159936000, 141120000, 60), Value::integer(68));
  EXPECT_EQ(frames_from_ticks(3000, 6000, 24), Value::integer(12));
  EXPECT_EQ(frames_from_ticks(125, 6000, 24), Value::real(0.5));
  EXPECT_DOUBLE_EQ(radians_to("degree"), 180 / std::acos(-1.0));
  EXPECT_DOUBLE_EQ(radians_to("radian"), 1);
}

TEST(Text, Utf8AndCodePages) {
  EXPECT_TRUE(is_valid_utf8("plain"));
  EXPECT_TRUE(is_valid_utf8("M\xC3\xA4rz \xE4\xB8\xAD \xF0\x9F\x99\x82"));
  EXPECT_FALSE(is_valid_utf8("M\x8Ar"));          // Mac Roman
  EXPECT_FALSE(is_valid_utf8("\xC0\xAF"));        // overlong
  EXPECT_FALSE(is_valid_utf8("\xED\xA0\x80"));    // surrogate
  EXPECT_FALSE(is_valid_utf8("\xE4\xB8"));        // cut short
  EXPECT_EQ(choose_codeset(true, "1252"), "UTF-8");
  EXPECT_EQ(choose_codeset(false, "mac_roman"), "mac_roman");
  EXPECT_EQ(code_page_from(nullptr), "1252");
  EXPECT_EQ(code_page_from(""), "1252");
  EXPECT_EQ(code_page_from("932"), "932");
  EXPECT_EQ(unescaped("a\\nb\\t\\\"c\\\\ \\q"), "a\nb\t\"c\\ \\q");
}

TEST(TypeIds, TagsTablesAndUnknowns) {
  EXPECT_STREQ(known_type(tag("XFRM")), "transform");
  EXPECT_STREQ(known_type(tag("RTFT")), "file");
  EXPECT_STREQ(known_type(tag("DDMN")), "distanceDimShape");
  EXPECT_STREQ(known_type(0x5800039E), "simpleSelector");
  EXPECT_STREQ(known_type(0x00115C00), "aiOptions");
  EXPECT_EQ(known_type(0x00ABCDEF), nullptr);
  EXPECT_EQ(unknown_type_text(0x00115C07), "unknown type 0x00115C07");
  EXPECT_EQ(unknown_type_text(tag("UMBT")), "unknown type 0x554D4254 (UMBT)");
  EXPECT_EQ(chunk_id(tag("STR ")), "STR ");
  EXPECT_EQ(chunk_name(0x00102E40), "0x00102E40");
}

}  // namespace
}  // namespace binary
}  // namespace mayascene
