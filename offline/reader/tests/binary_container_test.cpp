// The IFF container of Maya Binary files: both forms, their padding rules, bulk chunks passed
// over unread, and one clear error for each kind of broken file.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "mayascene/binary.h"
#include "mayascene/reader.h"
#include "mb_builder.h"

namespace mayascene {
namespace {

using testing_mb::Form;
using testing_mb::u32;
using testing_mb::u8;
using testing_mb::z;

Scene read_mb(const std::string& bytes) {
  MemoryByteSource source(bytes);
  return read_binary(source, "t.mb", "1252");
}

std::string small_scene(const Form& f) {
  return f.file({f.head("2025ff03"),
                 f.node("XFRM", 0x0C, "grp", ""),
                 f.node("DMSH", 0x04, "shape", "grp", {f.value("STR ", "a", z("odd"))}),
                 f.node("RTFT", 0x00, "file1", "", {f.value("STR ", "ftn", z("/t/a.png"))})});
}

TEST(BinaryContainer, ReadsBothForms) {
  for (bool wide : {false, true}) {
    const Form f{wide};
    const Scene s = read_mb(small_scene(f));
    ASSERT_EQ(s.nodes.size(), 7u) << wide;  // three nodes and the four defaults
    EXPECT_EQ(s.format, "mayaBinary");
    EXPECT_EQ(s.maya_version, "2025ff03");
    EXPECT_EQ(s.nodes[1].name, "shape");
    EXPECT_EQ(s.nodes[1].attrs.at("a"), Value::string("odd"));
    EXPECT_EQ(s.nodes[2].attrs.at("fileTextureName"), Value::string("/t/a.png"));
  }
}

TEST(BinaryContainer, PadsLeavesFromTheirOwnStartAndNeverGroups) {
  // In the 64-bit form a group of odd size puts the next chunk at an offset of 4 mod 8.
  const Form f{true};
  const std::string odd_group = f.node("XFRM", 0x0C, "abc", "");  // CREA of 5 bytes: group size 4 + 16 + 8
  const std::string file = f.file({f.head("2016"), odd_group, f.node("XFRM", 0x0C, "b", "")});
  const Scene s = read_mb(file);
  EXPECT_EQ(s.nodes[0].name, "abc");
  EXPECT_EQ(s.nodes[1].name, "b");
}

TEST(BinaryContainer, AcceptsALastLeafWithoutItsPadding) {
  const Form f{false};
  std::string crea = f.header("CREA", 3) + u8(0) + z("n");  // 3 bytes, the group ends before the padding
  std::string node = f.header("FOR4", 4 + crea.size()) + "RTFT" + crea;
  const Scene s = read_mb(f.file({node}));
  EXPECT_EQ(s.nodes[0].name, "n");
}

// Reads bytes through a memory source and counts what is read.
class CountingSource : public ByteSource {
 public:
  explicit CountingSource(std::string_view data) : inner_(data), size_(data.size()) {}
  std::uint64_t size() const override { return size_; }
  void read_at(std::uint64_t offset, char* buffer, std::size_t n) override {
    read_ += n;
    inner_.read_at(offset, buffer, n);
  }
  std::uint64_t read() const { return read_; }

 private:
  MemoryByteSource inner_;
  std::uint64_t size_;
  std::uint64_t read_ = 0;
};

TEST(BinaryContainer, PassesOverBulkChunksUnread) {
  const Form f{true};
  const std::string mesh(1 << 20, '\x5a');
  const std::string file = f.file({f.head("2024"), f.node("DMSH", 0x04, "m", "", {f.leaf("MESH", mesh),
                                                                               f.value("DBL#", "bulk", mesh)})});
  CountingSource source(file);
  const Scene s = read_binary(source, "t.mb", "1252");
  EXPECT_EQ(s.nodes[0].name, "m");
  EXPECT_LT(source.read(), 4096u);
}

struct BrokenCase {
  const char* name;
  std::function<std::string()> bytes;
  std::uint64_t offset;
  const char* chunk;
  const char* reason;
};

void PrintTo(const BrokenCase& c, std::ostream* os) { *os << c.name; }

class BrokenFileTest : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenFileTest, GivesOneErrorWithOffsetAndChunk) {
  const BrokenCase& c = GetParam();
  try {
    read_mb(c.bytes());
    FAIL() << "no error";
  } catch (const ParseError& e) {
    EXPECT_TRUE(e.binary());
    EXPECT_EQ(e.file(), "t.mb");
    EXPECT_EQ(e.offset(), c.offset);
    EXPECT_EQ(e.chunk(), c.chunk);
    EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.what();
    EXPECT_EQ(std::string(e.what()).rfind("t.mb: byte " + std::to_string(c.offset), 0), 0u) << e.what();
  }
}

const Form F4{false};
const Form F8{true};

INSTANTIATE_TEST_SUITE_P(
    Broken, BrokenFileTest,
    ::testing::Values(
        BrokenCase{"truncated", [] { return small_scene(F8).substr(0, 100); }, 100, "FOR8", "the file is truncated"},
        BrokenCase{"truncated_in_header", [] { return std::string("FOR4\0\0", 6); }, 6, "FOR4",
                   "ends inside its first chunk header"},
        BrokenCase{"neither_form", [] { return std::string("FORM\0\0\0\x04" "AIFF", 12); }, 0, "",
                   "not a Maya Binary file"},
        BrokenCase{"not_maya", [] { return F4.group("ILBM", {}); }, 8, "FOR4", "an IFF file of type 'ILBM'"},
        BrokenCase{"chunk_overruns_its_group",
                   [] {
                     std::string crea = F4.header("CREA", 400) + u8(0) + z("n") + std::string(2, '\0');
                     std::string node = F4.header("FOR4", 4 + crea.size()) + "XFRM" + crea;
                     return F4.file({F4.head("2012"), node});
                   },
                   84, "CREA", "declares 400 bytes, but its group has 5 left"},
        BrokenCase{"impossible_size",
                   [] {
                     std::string leaf = std::string("VERS") + std::string(4, '\0') + std::string(8, '\xff');
                     return F8.file({F8.group("HEAD", {leaf})});
                   },
                   40, "VERS", "declares 18446744073709551615 bytes"},
        BrokenCase{"leaf_at_the_top_level", [] { return F8.file({F8.leaf("VERS", "2020")}); }, 20, "VERS",
                   "no group at the top level"},
        BrokenCase{"crea_without_a_name",
                   [] { return F4.file({F4.group("XFRM", {F4.leaf("CREA", std::string(1, '\x0c') + "abc")})}); }, 33,
                   "CREA", "a text without its closing NUL"},
        BrokenCase{"stray_bytes_at_a_group_end",
                   [] {
                     std::string node = F4.node("XFRM", 0x0C, "n", "");
                     std::string body = "Maya" + node + "xy";
                     return F4.header("FOR4", body.size()) + body;
                   },
                   12 + 24, "FOR4", "too few for a chunk"}));

TEST(ReadFile, ChoosesTheFormatByTheFirstBytes) {
  const std::string dir = ::testing::TempDir();
  const std::string binary = dir + "/binary.ma";  // the name says ASCII; the bytes decide
  const std::string ascii = dir + "/ascii.mb";
  const std::string iff = dir + "/other.mb";
  {
    std::FILE* out = std::fopen(binary.c_str(), "wb");
    const std::string bytes = small_scene(F8);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    out = std::fopen(ascii.c_str(), "wb");
    const std::string text = "//Maya ASCII 2020 scene\ncreateNode transform -n \"t\";\n// End of a.ma\n";
    std::fwrite(text.data(), 1, text.size(), out);
    std::fclose(out);
    out = std::fopen(iff.c_str(), "wb");
    std::fwrite("FORM\0\0\0\x04" "AIFF", 1, 12, out);
    std::fclose(out);
  }
  EXPECT_EQ(read_file(binary).format, "mayaBinary");
  EXPECT_EQ(read_file(binary).nodes[2].name, "file1");
  EXPECT_EQ(read_file(ascii).format, "mayaAscii");
  EXPECT_EQ(read_file(ascii).nodes[0].name, "t");
  try {
    read_file(iff);
    FAIL() << "no error";
  } catch (const ParseError& e) {
    EXPECT_EQ(e.chunk(), "FORM");
    EXPECT_NE(std::string(e.what()).find("not a Maya scene"), std::string::npos);
  }
  EXPECT_THROW(read_file(dir + "/absent.mb"), std::runtime_error);
}

}  // namespace
}  // namespace mayascene
