#include "servicepaths/folder_listing.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using servicepaths::FoldedNames;
using servicepaths::FolderListing;
using Kind = FolderListing::Kind;

FolderListing listingOf(const std::vector<std::string>& names, Kind kind = Kind::text) {
  FolderListing listing;
  for (const std::string& name : names) listing.add(name, kind);
  listing.finish();
  return listing;
}

std::vector<std::string> namesIn(const FolderListing& listing, std::pair<std::size_t, std::size_t> range) {
  std::vector<std::string> names;
  for (std::size_t at = range.first; at < range.second; ++at) names.emplace_back(listing.name(at));
  return names;
}

TEST(FolderListing, FindsEachNameAndNothingElse) {
  std::vector<std::string> names;
  for (int at = 0; at < 5000; ++at) names.push_back("tex_" + std::to_string(at) + ".png");
  names.emplace_back("");  // a listing holds whatever it is given, the empty name too
  const FolderListing listing = listingOf(names);
  ASSERT_EQ(listing.size(), names.size());
  for (const std::string& name : names) {
    const std::optional<std::size_t> at = listing.find(name);
    ASSERT_TRUE(at) << name;
    EXPECT_EQ(listing.name(*at), name);
  }
  for (const char* absent : {"tex_5000.png", "tex_1.pn", "TEX_1.png", "tex_1.png ", "x"})
    EXPECT_FALSE(listing.find(absent)) << absent;
  EXPECT_FALSE(listingOf({}).find(""));
}

TEST(FolderListing, FindsTheRunOfNamesWithAStartInByteOrder) {
  const FolderListing listing =
      listingOf({"skin.1002.exr", "b", "skin.1001.exr", "skin", "skim.1001.exr", "skin.1001.exr.bak", "\xc3\xa9"});
  EXPECT_EQ(namesIn(listing, listing.starting("skin.")),
            (std::vector<std::string>{"skin.1001.exr", "skin.1001.exr.bak", "skin.1002.exr"}));
  EXPECT_EQ(namesIn(listing, listing.starting("skin")).size(), 4u);
  EXPECT_EQ(namesIn(listing, listing.starting("")).size(), listing.size());
  EXPECT_EQ(namesIn(listing, listing.starting("\xc3")), (std::vector<std::string>{"\xc3\xa9"}));
  EXPECT_TRUE(namesIn(listing, listing.starting("skin.1003")).empty());
  EXPECT_TRUE(namesIn(listing, listing.starting("zz")).empty());
  EXPECT_EQ(listing.name(0), "b");
}

TEST(FolderListing, TellsTheKindsAndTheFormOfItsNames) {
  FolderListing mixed;
  mixed.add("a", Kind::text);
  mixed.add("\xff", Kind::bytes);
  mixed.finish();
  EXPECT_EQ(mixed.kind(*mixed.find("\xff")), Kind::bytes);
  EXPECT_FALSE(mixed.all_of(Kind::text));
  EXPECT_FALSE(mixed.all_of(Kind::bytes));
  EXPECT_FALSE(mixed.all_ascii());
  EXPECT_FALSE(mixed.all_utf8());

  const FolderListing chinese = listingOf({"\xe6\x9c\xa8.png", "a.png"});
  EXPECT_TRUE(chinese.all_of(Kind::text));
  EXPECT_FALSE(chinese.all_ascii());
  EXPECT_TRUE(chinese.all_utf8());
  EXPECT_TRUE(listingOf({"a", "b"}).all_ascii());
  EXPECT_TRUE(listingOf({}).all_of(Kind::bytes));
}

TEST(IsUtf8, TakesOnlyWellFormedText) {
  struct Case {
    const char* bytes;
    bool utf8;
  };
  const Case cases[] = {
      {"", true},
      {"plain.png", true},
      {"\xc3\xa9", true},
      {"\xe6\x9c\xa8", true},
      {"\xf0\x9f\x98\x80", true},     // U+1F600
      {"\xf4\x8f\xbf\xbf", true},     // U+10FFFF
      {"\xf4\x90\x80\x80", false},    // past U+10FFFF
      {"\xed\xa0\x80", false},        // a surrogate
      {"\xc0\xaf", false},            // overlong
      {"\xe0\x80\xaf", false},        // overlong
      {"\xf0\x80\x80\xaf", false},    // overlong
      {"\xc3", false},                // cut short
      {"\xe6\x9c", false},
      {"\x80", false},                // a continuation alone
      {"a\xff", false},
      {"\xc3\x28", false},
  };
  for (const Case& c : cases) EXPECT_EQ(servicepaths::is_utf8(c.bytes), c.utf8) << c.bytes;
}

TEST(AsciiLowered, LowersOnlyAsciiNames) {
  EXPECT_EQ(servicepaths::ascii_lowered("Skin.1001.EXR"), "skin.1001.exr");
  EXPECT_EQ(servicepaths::ascii_lowered("@[`{"), "@[`{");  // the neighbours of the letters stay
  EXPECT_EQ(servicepaths::ascii_lowered(""), "");
  EXPECT_EQ(servicepaths::ascii_lowered("\xc3\x89.png"), std::nullopt);
}

TEST(FoldedNames, FindsTheNamesOfAFoldedSpellingThemselvesOrOthers) {
  const FolderListing listing = listingOf({"Wood.png", "wood.png", "WOOD.PNG", "stone.png", "Stone.png", "\xc3\x89t\xc3\xa9"});
  int asked = 0;
  const FoldedNames folded(listing, [&](std::size_t at) -> std::optional<std::string> {
    ++asked;
    const std::string_view name = listing.name(at);
    if (name == "\xc3\x89t\xc3\xa9") return std::string("\xc3\xa9t\xc3\xa9");  // as the interpreter lowers it
    return servicepaths::ascii_lowered(name);
  });
  EXPECT_EQ(asked, 6);
  const auto names = [&](std::string_view key) {
    std::vector<std::string> found;
    for (std::size_t at : folded.folding_to(listing, key)) found.emplace_back(listing.name(at));
    return found;
  };
  EXPECT_EQ(names("wood.png"), (std::vector<std::string>{"WOOD.PNG", "Wood.png", "wood.png"}));
  EXPECT_EQ(names("stone.png"), (std::vector<std::string>{"Stone.png", "stone.png"}));
  EXPECT_EQ(names("\xc3\xa9t\xc3\xa9"), (std::vector<std::string>{"\xc3\x89t\xc3\xa9"}));
  EXPECT_TRUE(names("Wood.png").empty());  // a name is found by its folded spelling only
  EXPECT_TRUE(names("glass.png").empty());
}

}  // namespace

TEST(AsciiFoldedOrder, FindsTheNamesThatMayStartWithATextIgnoringCase) {
  const FolderListing listing = listingOf({"skin.1001.exr", "SKIN.1002.EXR", "Skin.1003.exr", "skim.exr", "sk",
                                           "\xc5\xbfkin.1004.exr", "sk\xc3\xafn.exr", "wood.png"});
  const servicepaths::AsciiFoldedOrder order(listing);
  const auto names = [&](std::string_view prefix) {
    std::vector<std::string> found;
    for (std::size_t at : order.starting(listing, prefix)) found.emplace_back(listing.name(at));
    return found;
  };
  // in the listing's order; a name past ASCII among its first bytes is left to the caller
  EXPECT_EQ(names("SKIN."), (std::vector<std::string>{"SKIN.1002.EXR", "Skin.1003.exr", "skin.1001.exr",
                                                        "sk\xc3\xafn.exr", "\xc5\xbfkin.1004.exr"}));
  EXPECT_EQ(names("sk"), (std::vector<std::string>{"SKIN.1002.EXR", "Skin.1003.exr", "sk", "skim.exr",
                                                     "skin.1001.exr", "sk\xc3\xafn.exr", "\xc5\xbfkin.1004.exr"}));
  EXPECT_EQ(names("Wood.PNG"), (std::vector<std::string>{"sk\xc3\xafn.exr", "wood.png", "\xc5\xbfkin.1004.exr"}));
  EXPECT_EQ(names("wood.png!"), (std::vector<std::string>{"sk\xc3\xafn.exr", "\xc5\xbfkin.1004.exr"}));
  EXPECT_EQ(names("").size(), listing.size());
}
