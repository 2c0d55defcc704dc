#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "mayascene/reader.h"

namespace mayascene {
namespace {

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

TEST(LongValuesTest, AStringOverTheCapStaysInTheFileAndReadsBackWhole) {
  const std::string body = std::string(kHead) +
                           "createNode script -n \"s\";\n\tsetAttr \".b\" -type \"string\" (\n\t\t\"line1\\n\\\"q\\\"\"\n"
                           "\t\t+ \"0123456789\" + \"abcdefghij\");\n"
                           "createNode script -n \"short\";\n\tsetAttr \".b\" -type \"string\" \"0123456789abcdef\";\n" +
                           kTail;
  const std::string path = write_file("long_string.ma", body);
  const Scene s = read_file(path, capped(16));
  const Value span = node(s, "s").attrs.at("before");
  ASSERT_EQ(span.kind, Value::Kind::Span);
  EXPECT_EQ(read_span(s, span), "line1\n\"q\"0123456789abcdefghij");
  EXPECT_EQ(span.length, 29u);
  EXPECT_EQ(node(s, "short").attrs.at("before"), Value::string("0123456789abcdef"));  // at the cap: kept
  ASSERT_EQ(s.long_values.size(), 1u);
  EXPECT_EQ(s.long_values[0].where, "s.before");
  EXPECT_EQ(s.long_values[0].length, 29u);
  EXPECT_TRUE(s.long_values[0].kept);

  // The same file read without a cap keeps the text in memory.
  EXPECT_EQ(read_file(path).nodes.front().attrs.at("before").kind, Value::Kind::String);
  // A file changed since it was read says so rather than answer with other bytes.
  write_file("long_string.ma", std::string(kHead) + kTail);
  EXPECT_THROW(read_span(s, span), std::runtime_error);
  std::remove(path.c_str());
}

TEST(LongValuesTest, OtherLongTextsAreNotKeptAndAreListed) {
  const Scene s = read_text(std::string(kHead) + "fileInfo \"note\" \"0123456789abcdefghij\";\nfileInfo \"ok\" \"x\";\n"
                                                 "createNode transform -n \"t\";\n"
                                                 "\tsetAttr \".names\" -type \"stringArray\" 2 \"a\" \"0123456789abcdefghij\";\n"
                                                 "\tsetAttr \".v\" no;\n" +
                                kTail,
                            "t.ma", capped(16));
  ASSERT_EQ(s.file_info.size(), 1u);
  EXPECT_EQ(s.file_info[0].first, "ok");
  EXPECT_FALSE(node(s, "t").attrs.contains("names"));
  EXPECT_EQ(node(s, "t").attrs.at("visibility"), Value::boolean(false));
  ASSERT_EQ(s.long_values.size(), 2u);
  EXPECT_EQ(s.long_values[0].where, "fileInfo statement at line 3");
  EXPECT_FALSE(s.long_values[0].kept);
  EXPECT_EQ(s.long_values[1].where, "t.names");
  EXPECT_EQ(s.long_values[1].length, 20u);
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

}  // namespace
}  // namespace mayascene
