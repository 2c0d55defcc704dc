#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "mayascene/attributes.h"
#include "mayascene/scene.h"

namespace mayascene {
namespace {

Value tuple(std::vector<Value> items, Value::Kind kind = Value::Kind::Tuple) {
  Value v;
  v.kind = kind;
  v.items = std::move(items);
  return v;
}

TEST(AttributesTest, KeepsEveryKindOfValue) {
  const std::vector<Value> values = {
      Value::boolean(true), Value::boolean(false), Value::integer(0), Value::integer(-1), Value::integer(300),
      Value::integer(std::numeric_limits<std::int64_t>::min()), Value::integer(std::numeric_limits<std::int64_t>::max()),
      Value::real(34.999999999999993), Value::real(-0.0), Value::string(""), Value::string(std::string("a\0b", 3)),
      Value::string(std::string(70000, 'x')), Value::span(1234567890123, 300u << 20),
      tuple({Value::real(1), Value::integer(2), Value::string("w")}),
      tuple({Value::string("a"), Value::string("b")}, Value::Kind::StringArray), tuple({}),
      tuple({tuple({Value::integer(1)}), Value::boolean(true)})};
  Attributes attrs;
  for (std::size_t i = 0; i < values.size(); ++i) attrs.set("a" + std::to_string(i), values[i]);
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(attrs.at("a" + std::to_string(i)), values[i]) << i;
  attrs.normalize();
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_EQ(attrs.at("a" + std::to_string(i)), values[i]) << i;
  EXPECT_FALSE(attrs.get("a").has_value());
  EXPECT_THROW(attrs.at("nope"), std::out_of_range);
}

TEST(AttributesTest, ALaterValueReplacesAnEarlierOne) {
  Attributes attrs;
  attrs.set("translate", Value::integer(1));
  attrs.set("fileNames[0]", Value::string("a"));
  attrs.set("translate", Value::integer(2));
  EXPECT_EQ(attrs.at("translate"), Value::integer(2));
  EXPECT_EQ(attrs.size(), 3u);
  attrs.normalize();
  EXPECT_EQ(attrs.size(), 2u);
  std::vector<std::string> keys;
  for (const auto& entry : attrs) keys.emplace_back(entry.first);
  EXPECT_EQ(keys, (std::vector<std::string>{"fileNames[0]", "translate"}));  // by path
  attrs.set("translate", Value::integer(3));
  EXPECT_EQ(attrs.at("translate"), Value::integer(3));
}

TEST(AttributesTest, FindsPathsUnderAName) {
  Attributes attrs;
  for (const char* key : {"fileNames[2]", "fileNamesX", "fileNames[10]", "fileNames.child", "rlio[0]"}) {
    attrs.set(key, Value::integer(1));
  }
  EXPECT_TRUE(attrs.holds_under("fileNames"));
  EXPECT_TRUE(attrs.holds_under("rlio"));
  EXPECT_FALSE(attrs.holds_under("file"));
  EXPECT_FALSE(attrs.holds_under("rli"));
  EXPECT_EQ(attrs.keys_with_prefix("fileNames["), (std::vector<std::string>{"fileNames[10]", "fileNames[2]"}));
  EXPECT_TRUE(attrs.contains("fileNamesX"));
  EXPECT_TRUE(Attributes().keys_with_prefix("").empty());
}

TEST(AttributesTest, RecodesTextsOnly) {
  Attributes attrs;
  attrs.set("name", Value::string("caf\xe9"));
  attrs.set("list", tuple({Value::string("cr\xe8me"), Value::string("ok")}, Value::Kind::StringArray));
  attrs.set("number", Value::real(2.5));
  const auto ascii = [](std::string_view s) {
    for (const char c : s) {
      if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
  };
  EXPECT_FALSE(attrs.all_texts(ascii));
  attrs.recode_texts([](std::string* s) {
    for (char& c : *s) {
      if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    }
  });
  EXPECT_TRUE(attrs.all_texts(ascii));
  EXPECT_EQ(attrs.at("name"), Value::string("caf?"));
  EXPECT_EQ(attrs.at("list").items[0], Value::string("cr?me"));
  EXPECT_EQ(attrs.at("number"), Value::real(2.5));
}

TEST(AttributesTest, CopiesAndMovesItsBuffer) {
  Attributes a;
  a.set("x", Value::string(std::string(100, 'y')));
  Attributes b = a;
  Attributes c = std::move(a);
  EXPECT_EQ(b.at("x"), c.at("x"));
  EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): moved-from is empty
  b = c;
  c.set("z", Value::integer(1));
  EXPECT_FALSE(b.contains("z"));
}

struct UuidCase {
  const char* written;
  const char* read_back;
};

TEST(UuidTest, KeepsMayasFormInSixteenBytesAndOthersAsWritten) {
  const UuidCase cases[] = {{"84384D92-4957-42CC-B4F8-639DEF9DBFEE", "84384D92-4957-42CC-B4F8-639DEF9DBFEE"},
                            {"84384d92-4957-42cc-b4f8-639def9dbfee", "84384d92-4957-42cc-b4f8-639def9dbfee"},
                            {"84384D92", "84384D92"},
                            {"00000000-0000-0000-0000-000000000000", "00000000-0000-0000-0000-000000000000"},
                            {"", ""}};
  for (const UuidCase& c : cases) {
    Uuid uuid;
    uuid = std::string(c.written);
    EXPECT_EQ(uuid.text(), c.read_back) << c.written;
    EXPECT_EQ(uuid.empty(), std::string(c.written).empty()) << c.written;
    const Uuid copy(uuid);
    EXPECT_EQ(copy.text(), c.read_back);
  }
}

}  // namespace
}  // namespace mayascene
