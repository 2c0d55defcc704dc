#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mayascene/reader.h"

namespace mayascene {
namespace {

using Fields = std::vector<std::string>;

Scene read_edits(const std::string& value) {
  return read_text("//Maya ASCII 2025ff03 scene\n//Codeset: UTF-8\ncreateNode reference -n \"propRN\";\n"
                   "\tsetAttr \".ed\" -type \"dataReferenceEdits\" " + value + ";\nlockNode -l 1 ;\n// End of t.ma\n",
                   "t.ma");
}

TEST(ReferenceEditsReadTest, ReadsTheOwnerGroupsAndEveryKindOfEdit) {
  const Scene s = read_edits(
      "\n\t\t\"propRN\"\n\t\t\"propRN\" 0\n\t\t\"propRN\" 6\n"
      "\t\t0 \"|prop:geo\" \"|prop:grp\" \"-s -r \"\n"
      "\t\t1 prop:file3 \"notes\" \"nts\" \" -ci 1 -dt \\\"string\\\"\"\n"
      "\t\t2 \"|prop:root\" \"translate\" \" -type \\\"double3\\\" 0 1 0\"\n"
      "\t\t2 \"prop:file3\" \"fileTextureName\" (\" -type \\\"string\\\" \\\"D:/a\" + \" b.png\\\"\")\n"
      "\t\t3 \"prop:file3.oc\" \"|prop:geo|prop:geoShape.c\" \"\"\n"
      "\t\t5 4 \"propRN\" \"|prop:root.tx\" \"propRN.placeHolderList[1]\" \"\"\n"
      "\t\t\"prop:boltRN\" 1\n\t\t2 \"bolt:x\" \"v\" \" 0\"\n\t\t");
  ASSERT_EQ(s.reference_edits.size(), 1u);
  const ReferenceEdits& e = s.reference_edits[0];
  EXPECT_EQ(e.holder, "propRN");
  EXPECT_EQ(e.owner, "propRN");
  EXPECT_EQ(e.unread, 0u);
  ASSERT_EQ(e.groups.size(), 3u);
  EXPECT_TRUE(e.groups[0].edits.empty());
  EXPECT_EQ(e.groups[2].reference_node, "prop:boltRN");
  const std::vector<ReferenceEdit>& edits = e.groups[1].edits;
  ASSERT_EQ(edits.size(), 6u);
  EXPECT_EQ(edits[0].fields, (Fields{"|prop:geo", "|prop:grp", "-s -r "}));
  EXPECT_EQ(edits[1].code, 1);
  EXPECT_EQ(edits[1].fields, (Fields{"prop:file3", "notes", "nts", " -ci 1 -dt \"string\""}));
  EXPECT_EQ(edits[3].fields[2], " -type \"string\" \"D:/a b.png\"");  // escapes read, parts joined
  EXPECT_EQ(edits[4].code, 3);
  EXPECT_EQ(edits[5].code, 5);
  EXPECT_EQ(edits[5].fields, (Fields{"4", "propRN", "|prop:root.tx", "propRN.placeHolderList[1]", ""}));
  EXPECT_EQ(e.groups[2].edits[0].fields, (Fields{"bolt:x", "v", " 0"}));
}

struct LenientCase {
  const char* name;
  std::string value;
  std::vector<std::size_t> edits_per_group;
  std::size_t unread;
};

void PrintTo(const LenientCase& c, std::ostream* os) { *os << c.name; }

class ReferenceEditsLenientTest : public ::testing::TestWithParam<LenientCase> {};

// What does not parse is passed over and counted; the file still reads.
TEST_P(ReferenceEditsLenientTest, SkipsAndCounts) {
  const Scene s = read_edits(GetParam().value);
  ASSERT_EQ(s.reference_edits.size(), 1u);
  const ReferenceEdits& e = s.reference_edits[0];
  std::vector<std::size_t> counts;
  for (const auto& group : e.groups) counts.push_back(group.edits.size());
  EXPECT_EQ(counts, GetParam().edits_per_group);
  EXPECT_EQ(e.unread, GetParam().unread);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ReferenceEditsLenientTest,
    ::testing::Values(
        LenientCase{"owner_only", "\"propRN\"", {}, 0},
        LenientCase{"unknown_code", "\"propRN\" \"propRN\" 3 9 \"a\" 2 \"n\" \"v\" \" 1\" 2 \"n\" \"w\" \" 2\"", {2}, 1},
        LenientCase{"missing_field", "\"propRN\" \"propRN\" 2 2 \"n\" 0 2 \"n\" \"w\" \" 2\"", {1}, 1},
        LenientCase{"group_ends_before_its_count", "\"propRN\" \"a\" 3 2 \"n\" \"v\" \" 1\" \"b\" 1 2 \"m\" \"v\" \" 0\"", {1, 1}, 2},
        LenientCase{"count_past_the_end", "\"propRN\" \"a\" 5 2 \"n\" \"v\" \" 1\"", {1}, 0},
        LenientCase{"garbage_between_groups", "\"propRN\" \"a\" 1 2 \"n\" \"v\" \" 1\" x y \"b\" 0", {1, 0}, 1},
        LenientCase{"bad_placeholder_sub_code", "\"propRN\" \"a\" 2 5 7 \"x\" \"y\" 2 \"n\" \"v\" \" 1\"", {1}, 1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mayascene
