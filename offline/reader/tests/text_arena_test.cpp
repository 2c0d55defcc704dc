#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mayascene/text_arena.h"

namespace mayascene {
namespace {

// Texts of every size class, from one byte through a length of four bytes to a block of its own,
// in an order that has the arena's blocks grow by several steps at once and be left with tails:
// each text must still read as it was kept, and an interned text stay the one text.
TEST(TextArenaTest, KeepsEveryTextIntactAsItsBlocksGrow) {
  // 16 KiB - 5 and its header fill a quarter of the largest block: the longest text blocks share.
  const std::vector<std::size_t> sizes = {1, 200, 254, 255, 256, 3, 16 * 1024 - 5, 16 * 1024 - 4, 1, 70000, 9, 600};
  TextArena arena;
  std::vector<std::string> kept_texts;
  std::vector<Text> kept;
  const Text type = arena.intern("transform");
  for (int round = 0; round < 40; ++round) {
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      const std::size_t size = sizes[(i + static_cast<std::size_t>(round)) % sizes.size()];
      std::string text(size, static_cast<char>('a' + (round + static_cast<int>(i)) % 26));
      text.back() = static_cast<char>('0' + round % 10);
      kept.push_back(arena.keep(text));
      kept_texts.push_back(std::move(text));
    }
    EXPECT_TRUE(arena.intern("transform").same(type));
  }
  for (std::size_t i = 0; i < kept.size(); ++i) ASSERT_EQ(kept[i].view(), kept_texts[i]) << i;
  EXPECT_EQ(type, "transform");

  TextArena moved = std::move(arena);
  for (std::size_t i = 0; i < kept.size(); ++i) ASSERT_EQ(kept[i].view(), kept_texts[i]) << i;
  EXPECT_TRUE(moved.intern("transform").same(type));
}

}  // namespace
}  // namespace mayascene
