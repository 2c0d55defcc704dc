#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "binary/long_texts.h"
#include "binary/text.h"
#include "mayascene/binary.h"
#include "mayascene/reader.h"
#include "mb_builder.h"

namespace mayascene {
namespace {

using testing_mb::z;

const char kHead[] = "//Maya ASCII 2025ff03 scene\n//Codeset: UTF-8\n";
const char kTail[] = "// End of t.ma\n";

std::string write_file(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

ReadOptions capped(std::uint64_t bytes) {
  ReadOptions options;
  options.max_value_bytes = bytes;
  return options;
}

const Node& node(const Scene& s, const std::string& name) {
  for (const Node& n : s.nodes) {
    if (n.name == name) return n;
  }
  throw std::runtime_error("no node " + name);
}

// A scene in both forms, and what a file changed since it was read holds instead.
struct Form {
  const char* name;
  std::string bytes;
  std::string changed;
};

const char kLongText[] = "line1\n\"q\"0123456789abcdefghij";  // 29 bytes, over a cap of 16

// A script node "s" holding kLongText, one "short" holding a text at the cap.
std::vector<Form> long_string_scenes() {
  const std::string ma = std::string(kHead) +
                         "createNode script -n \"s\";\n\tsetAttr \".b\" -type \"string\" (\n\t\t\"line1\\n\\\"q\\\"\"\n"
                         "\t\t+ \"0123456789\" + \"abcdefghij\");\n"
                         "createNode script -n \"short\";\n\tsetAttr \".b\" -type \"string\" \"0123456789abcdef\";\n" +
                         kTail;
  std::vector<Form> forms = {{"t.ma", ma, std::string(kHead) + kTail}};
  for (const testing_mb::Form& f : {testing_mb::Form{false}, testing_mb::Form{true}}) {
    const std::string head = f.head("2025");
    forms.push_back({f.wide ? "t8.mb" : "t4.mb",
                     f.file({head, f.node("SCRP", 0x80, "s", "", {f.value("STR ", "b", z(kLongText))}),
                             f.node("SCRP", 0x80, "short", "", {f.value("STR ", "b", z("0123456789abcdef"))})}),
                     f.file({head})});
  }
  return forms;
}

TEST(LongValuesTest, AStringOverTheCapStaysInTheFileAndReadsBackWhole) {
  for (const Form& form : long_string_scenes()) {
    SCOPED_TRACE(form.name);
    const std::string path = write_file(form.name, form.bytes);
    const Scene s = read_file(path, capped(16));
    const Value span = node(s, "s").attrs.at("before");
    ASSERT_EQ(span.kind, Value::Kind::Span);
    EXPECT_EQ(read_span(s, span), kLongText);
    EXPECT_EQ(span.length, 29u);
    EXPECT_EQ(node(s, "short").attrs.at("before"), Value::string("0123456789abcdef"));  // at the cap: kept
    ASSERT_EQ(s.long_values.size(), 1u);
    EXPECT_EQ(s.long_values[0].where, "s.before");
    EXPECT_EQ(s.long_values[0].length, 29u);
    EXPECT_TRUE(s.long_values[0].kept);
    EXPECT_EQ(s.codeset, "UTF-8");

    // The same file read without a cap keeps the text in memory.
    EXPECT_EQ(node(read_file(path), "s").attrs.at("before"), Value::string(kLongText));
    // A file changed since it was read says so rather than answer with other bytes.
    write_file(form.name, form.changed);
    EXPECT_THROW(read_span(s, span), std::runtime_error);
    std::remove(path.c_str());
  }
}

// A .mb names no code page: a text left in the file counts in telling UTF-8 from the fallback, as
// it would if it were kept; read back, it is the bytes that are there.
TEST(LongValuesTest, ABinaryTextLeftInTheFileCountsForTheCodePage) {
  const testing_mb::Form f{true};
  struct Case {
    std::string text;
    const char* codeset;
  };
  const Case cases[] = {{"caf\xc3\xa9 cr\xc3\xa8me br\xc3\xbb" "l\xc3\xa9" "e", "UTF-8"},
                        {"caf\xe9 cr\xe8me br\xfb" "l\xe9" "e et plus", "1252"}};
  for (const Case& c : cases) {
    const std::string path = write_file("code_page.mb", f.file({f.head("2025"), f.node("SCRP", 0x80, "s", "", {
                                                                                  f.value("STR ", "b", z(c.text))})}));
    const Scene s = read_file(path, capped(16));
    EXPECT_EQ(s.codeset, c.codeset) << c.text;
    EXPECT_EQ(read_span(s, node(s, "s").attrs.at("before")), c.text);
    EXPECT_EQ(read_file(path).codeset, c.codeset) << "kept in memory";
    std::remove(path.c_str());
  }
}

TEST(LongValuesTest, OtherLongTextsAreNotKeptAndAreListed) {
  const std::string ma = std::string(kHead) + "fileInfo \"note\" \"0123456789abcdefghij\";\nfileInfo \"ok\" \"x\";\n"
                                              "createNode transform -n \"t\";\n"
                                              "\tsetAttr \".names\" -type \"stringArray\" 2 \"a\" \"0123456789abcdefghij\";\n"
                                              "\tsetAttr \".v\" no;\n"
                                              "createNode transform -n \"0123456789abcdefghi\";\n"
                                              "\tsetAttr \".v\" yes;\n" +  // not on t
                         kTail;
  const testing_mb::Form f{true};
  const std::string mb = f.file({f.head("2025", {f.leaf("FINF", z("note") + z("0123456789abcdefghij")),
                                                 f.leaf("FINF", z("ok") + z("x"))}),
                                 f.node("XFRM", 0x80, "t", "", {f.value("STR#", "names", testing_mb::u32(2) + z("a") +
                                                                                           z("0123456789abcdefghij")),
                                                                f.value("DBLE", "v", testing_mb::f64(0))}),
                                 f.node("XFRM", 0x80, "0123456789abcdefghi", "")});
  struct Case {
    const char* name;
    const std::string& bytes;
    std::string file_info_where;
    std::string node_where;
  };
  const Case cases[] = {{"t.ma", ma, "fileInfo statement at line 3", "createNode statement at line 8"},
                        {"t.mb", mb, "FINF chunk at byte " + std::to_string(mb.find("FINF")),
                         "CREA chunk at byte " + std::to_string(mb.rfind("CREA"))}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = write_file(c.name, c.bytes);
    const Scene s = read_file(path, capped(16));
    ASSERT_EQ(s.file_info.size(), 1u);
    EXPECT_EQ(s.file_info[0].first, "ok");
    EXPECT_FALSE(node(s, "t").attrs.contains("names"));
    EXPECT_EQ(node(s, "t").attrs.at("visibility"), Value::boolean(false));
    EXPECT_EQ(s.nodes.front().name, "t");  // the node named past the cap is not created
    ASSERT_EQ(s.long_values.size(), 3u);
    EXPECT_EQ(s.long_values[0].where, c.file_info_where);
    EXPECT_EQ(s.long_values[0].length, 20u);
    EXPECT_FALSE(s.long_values[0].kept);
    EXPECT_EQ(s.long_values[1].where, "t.names");
    EXPECT_EQ(s.long_values[1].length, 20u);
    EXPECT_FALSE(s.long_values[1].kept);
    EXPECT_EQ(s.long_values[2].where, c.node_where);
    EXPECT_EQ(s.long_values[2].length, 19u);
    std::remove(path.c_str());
  }
}

// A reference edit with a field over the cap is not kept but counted as unread; the rest are read.
TEST(LongValuesTest, AReferenceEditOverTheCapIsUnread) {
  const std::string ma = std::string(kHead) + "createNode reference -n \"propRN\";\n\tsetAttr \".ed\" -type "
                         "\"dataReferenceEdits\" \"propRN\" \"propRN\" 2 2 \"n\" \"notes\" \" 0123456789abcdefghijklmn\" "
                         "2 \"n\" \"v\" \" 1\";\n" + kTail;
  const testing_mb::Form f{true};
  const std::string edits = z("ed") + testing_mb::u8(0x20) + z("propRN") + testing_mb::u32(1) + z("propRN") +
                            testing_mb::u32(2) + testing_mb::u32(2) + z("n") + z("notes") + z(" 0123456789abcdefghijklmn") +
                            testing_mb::u32(2) + z("n") + z("v") + z(" 1");
  const std::string mb = f.file({f.head("2025"), f.node("RFRN", 0x80, "propRN", "", {f.leaf("REFE", edits)})});
  for (const auto& form : {std::make_pair("t.ma", ma), std::make_pair("t.mb", mb)}) {
    SCOPED_TRACE(form.first);
    const std::string path = write_file(form.first, form.second);
    const Scene s = read_file(path, capped(20));  // the type name "dataReferenceEdits" fits
    ASSERT_EQ(s.reference_edits.size(), 1u);
    const ReferenceEdits& e = s.reference_edits[0];
    EXPECT_EQ(e.unread, 1u);
    ASSERT_EQ(e.groups.size(), 1u);
    ASSERT_EQ(e.groups[0].edits.size(), 1u);
    EXPECT_EQ(e.groups[0].edits[0].fields, (std::vector<std::string>{"n", "v", " 1"}));
    std::remove(path.c_str());
  }
}

TEST(LongValuesTest, TheCapIsAWholeNumberOfBytes) {
  struct Case {
    const char* text;
    std::optional<std::uint64_t> cap;
  };
  const Case cases[] = {{nullptr, kDefaultMaxValueBytes}, {"", kDefaultMaxValueBytes}, {"100", 100},
                        {"0", UINT64_MAX},                {"12a", std::nullopt},        {"-1", std::nullopt},
                        {"1e6", std::nullopt},            {"99999999999999999999999", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(max_value_bytes_setting(c.text), c.cap) << (c.text ? c.text : "unset");
}

TEST(LongValuesTest, TheLexerMeasuresWhatItDoesNotKeep) {
  for (const std::size_t chunk : {std::size_t(3), std::size_t(1 << 16)}) {
    MemorySource source("\"0123456789\" (\"abc\" + \"defgh\") \"\x81\\\" word;");
    Lexer lexer(source, "t.ma", chunk, 7);
    lexer.set_encoding(DoubleByteEncoding::GbkOrBig5);
    Token t;
    lexer.next(&t);
    EXPECT_TRUE(t.over_cap());
    EXPECT_EQ(t.text, "");
    EXPECT_EQ(t.length, 10u);
    lexer.next(&t);
    EXPECT_TRUE(t.over_cap());
    EXPECT_EQ(t.length, 8u);
    EXPECT_EQ(t.offset, 13);
    lexer.next(&t);
    EXPECT_FALSE(t.over_cap());
    lexer.next(&t);
    EXPECT_EQ(t.text, "word");
  }
}

// A text checked in pieces is judged as the whole text is, wherever it is cut.
TEST(LongValuesTest, UTF8IsJudgedAcrossPieces) {
  const char* const texts[] = {"ab\xc3\xa9" "z", "a\xe2\x82\xac" "b", "\xf0\x9f\x98\x80!", "a\xe9" "b", "a\xe2\x82", "\xc0\xaf" "x",
                               "x\xed\xa0\x80", "\x80\x80", "\xf4\x90\x80\x80", "plain"};
  for (const char* text : texts) {
    const std::string whole(text);
    for (std::size_t i = 0; i <= whole.size(); ++i) {
      for (std::size_t j = i; j <= whole.size(); ++j) {
        binary::Utf8Pieces pieces;
        pieces.feed(std::string_view(whole).substr(0, i));
        pieces.feed(std::string_view(whole).substr(i, j - i));
        pieces.feed(std::string_view(whole).substr(j));
        EXPECT_EQ(pieces.valid(), binary::is_valid_utf8(whole)) << whole << " cut at " << i << ", " << j;
      }
    }
  }
}

// Texts longer than the scanner's buffer, a character across its end, are measured whole.
TEST(LongValuesTest, TheScannerMeasuresTextsPastItsBuffer) {
  const std::size_t before = (1u << 20) - 1;
  for (const char* straddling : {"\xc3\xa9", "\xc3("}) {
    const std::string bytes = std::string(before, 'a') + straddling + "b" + std::string(1, '\0') + "next";
    MemoryByteSource source(bytes);
    binary::TextScanner scan(source, 0, bytes.size());
    binary::TextExtent text;
    ASSERT_TRUE(scan.next(&text));
    EXPECT_EQ(text.offset, 0u);
    EXPECT_EQ(text.length, before + 3);
    EXPECT_TRUE(text.terminated);
    EXPECT_EQ(text.utf8, straddling[1] != '(');
    ASSERT_TRUE(scan.next(&text));
    EXPECT_EQ(text.offset, before + 4);
    EXPECT_EQ(text.length, 4u);
    EXPECT_FALSE(text.terminated);
    EXPECT_FALSE(scan.next(&text));
  }
}

}  // namespace
}  // namespace mayascene
