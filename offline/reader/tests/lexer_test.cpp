#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mayascene/lexer.h"

namespace mayascene {
namespace {

struct Lexed {
  TokenKind kind;
  std::string text;
};

std::vector<Lexed> lex_all(const std::string& text, std::size_t chunk,
                           DoubleByteEncoding encoding = DoubleByteEncoding::None) {
  MemorySource source(text);
  Lexer lexer(source, "t.ma", chunk);
  lexer.set_encoding(encoding);
  std::vector<Lexed> out;
  for (Token t = lexer.next(); t.kind != TokenKind::End; t = lexer.next()) out.push_back({t.kind, t.text});
  return out;
}

struct TokenCase {
  const char* name;
  std::string input;
  std::vector<Lexed> expected;
  DoubleByteEncoding encoding = DoubleByteEncoding::None;
};

void PrintTo(const TokenCase& c, std::ostream* os) { *os << c.name; }

class TokenTest : public ::testing::TestWithParam<TokenCase> {};

// Each case runs with a tiny chunk as well, so every token also straddles a refill.
TEST_P(TokenTest, ProducesTokens) {
  for (std::size_t chunk : {std::size_t(1 << 16), std::size_t(1), std::size_t(3)}) {
    const auto got = lex_all(GetParam().input, chunk, GetParam().encoding);
    ASSERT_EQ(got.size(), GetParam().expected.size()) << "chunk " << chunk;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].kind, GetParam().expected[i].kind) << "token " << i << " chunk " << chunk;
      EXPECT_EQ(got[i].text, GetParam().expected[i].text) << "token " << i << " chunk " << chunk;
    }
  }
}

const TokenKind W = TokenKind::Word, S = TokenKind::String, SC = TokenKind::Semicolon, C = TokenKind::Comment;
const DoubleByteEncoding GBK = DoubleByteEncoding::GbkOrBig5, SJIS = DoubleByteEncoding::ShiftJis;

INSTANTIATE_TEST_SUITE_P(
    Forms, TokenTest,
    ::testing::Values(
        TokenCase{"words_and_flags", "setAttr -k on \".v\" no;", {{W, "setAttr"}, {W, "-k"}, {W, "on"}, {S, ".v"}, {W, "no"}, {SC, ""}}},
        TokenCase{"numbers", "1 -0.5 1.9073486328125e-006 3.4e+038;", {{W, "1"}, {W, "-0.5"}, {W, "1.9073486328125e-006"}, {W, "3.4e+038"}, {SC, ""}}},
        TokenCase{"escapes", R"("a\nb\tc\"d\\e")", {{S, "a\nb\tc\"d\\e"}}},
        TokenCase{"escaped_backslash_then_quote", R"("\\\"single\\\"")", {{S, "\\\"single\\\""}}},
        TokenCase{"unknown_escape_kept", R"("C:\temp\x")", {{S, "C:\temp\\x"}}},
        TokenCase{"semicolon_in_string", "file -op \"v=0;\";", {{W, "file"}, {W, "-op"}, {S, "v=0;"}, {SC, ""}}},
        TokenCase{"slashes_in_string", "\"C:/a//b\" // tail", {{S, "C:/a//b"}, {C, " tail"}}},
        TokenCase{"concatenation", "( \"ab\"\n\t\t+ \"c\\n\" +\"d\" )", {{S, "abc\nd"}}},
        TokenCase{"concatenation_single", "(\"x\")", {{S, "x"}}},
        TokenCase{"header_comment_crlf", "//Codeset: 1252\r\nrequires", {{C, "Codeset: 1252"}, {W, "requires"}}},
        TokenCase{"braces", "{\"a\",\"b\"}", {{TokenKind::LBrace, ""}, {S, "a"}, {TokenKind::Comma, ""}, {S, "b"}, {TokenKind::RBrace, ""}}},
        TokenCase{"wrapped_semicolon", "connectAttr \"a.b\" \"c.d\" -na\n\t\t;", {{W, "connectAttr"}, {S, "a.b"}, {S, "c.d"}, {W, "-na"}, {SC, ""}}},
        TokenCase{"high_bytes_in_word", "\xe4\xb8\xad;", {{W, "\xe4\xb8\xad"}, {SC, ""}}},
        // Double-byte characters whose second byte is 0x5C: GBK 乗 81 5C and 誠 D5 5C, Big5 功 A5 5C,
        // Shift-JIS ソ 83 5C. The byte after them keeps its own meaning.
        TokenCase{"gbk_second_byte_before_quote", "\"\x81\x5c\" x;", {{S, "\x81\x5c"}, {W, "x"}, {SC, ""}}, GBK},
        TokenCase{"gbk_windows_path", R"("D:\\)" "\xd5\x5c" R"(\\tex.png")", {{S, "D:\\\xd5\x5c\\tex.png"}}, GBK},
        TokenCase{"big5_second_byte_before_n", "\"\xa5\x5cnew\"", {{S, "\xa5\x5cnew"}}, GBK},
        TokenCase{"shift_jis_second_byte_before_quote", "\"\x83\x5c\"", {{S, "\x83\x5c"}}, SJIS},
        // Half-width kana (0xA1-0xDF) are single bytes in Shift-JIS: ﾏ CF, then an escaped backslash.
        TokenCase{"shift_jis_single_byte_kana", R"(")" "\xcf" R"(\\")", {{S, "\xcf\\"}}, SJIS},
        TokenCase{"single_byte_code_page_escapes", "\"\xd6\x5cn\"", {{S, "\xd6\n"}}},
        TokenCase{"broken_character_before_quote", "\"ab\x81\" x", {{S, "ab\x81"}, {W, "x"}}, GBK},
        TokenCase{"gbk_brace_second_byte_in_word", "\x81\x7d;", {{W, "\x81\x7d"}, {SC, ""}}, GBK}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
  const char* name;
  std::string input;
  std::int64_t line;
  std::int64_t column;
  const char* reason;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << c.name; }

class LexErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(LexErrorTest, ReportsPlace) {
  try {
    lex_all(GetParam().input, 4);
    FAIL() << "no error";
  } catch (const ParseError& e) {
    EXPECT_EQ(e.line(), GetParam().line);
    EXPECT_EQ(e.column(), GetParam().column);
    EXPECT_NE(e.reason().find(GetParam().reason), std::string::npos) << e.what();
    EXPECT_EQ(e.file(), "t.ma");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Errors, LexErrorTest,
    ::testing::Values(
        ErrorCase{"unterminated_string", "a\n  \"abc", 2, 3, "unterminated string"},
        ErrorCase{"unterminated_after_escape", "\"abc\\", 1, 1, "unterminated string"},
        ErrorCase{"concatenation_without_string", "x (\n 5 )", 2, 2, "expected a string"},
        ErrorCase{"concatenation_missing_plus", "(\"a\" \"b\")", 1, 6, "expected '+' or ')'"},
        ErrorCase{"concatenation_unterminated", "\n(\"a\" +", 2, 1, "unterminated string concatenation"},
        ErrorCase{"stray_paren", "a )", 1, 3, "unexpected ')'"},
        ErrorCase{"control_byte", "ab\x01", 1, 3, "byte 0x01"},
        ErrorCase{"nul_byte", std::string("\n\n\0x", 4), 3, 1, "byte 0x00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SkipStatement, PassesStringsAndCountsLines) {
  // The skipped body holds ';' and an escaped quote inside strings and several lines.
  const std::string text = "setAttr \".x\" -type \"polyFaces\" \"a;\\\"b;\"\n\t\tf 3 1 2 3\n\t\t\"q\";\n  next";
  for (std::size_t chunk : {std::size_t(1), std::size_t(2), std::size_t(7), std::size_t(1 << 16)}) {
    MemorySource source(text);
    Lexer lexer(source, "t.ma", chunk);
    const Token first = lexer.next();
    lexer.skip_statement(first);
    const Token after = lexer.next();
    EXPECT_EQ(after.text, "next") << chunk;
    EXPECT_EQ(after.line, 4) << chunk;
    EXPECT_EQ(after.column, 3) << chunk;
  }
}

TEST(SkipStatement, DoubleByteSecondByteIsNoEscape) {
  // 乗 (GBK 81 5C) ends the string; read as an escape, the quote after it would open the skip's tail.
  const std::string text = "setAttr \".x\" -type \"string\" \"\x81\x5c\";\nnext";
  for (std::size_t chunk : {std::size_t(1), std::size_t(2), std::size_t(7), std::size_t(1 << 16)}) {
    MemorySource source(text);
    Lexer lexer(source, "t.ma", chunk);
    lexer.set_encoding(DoubleByteEncoding::GbkOrBig5);
    const Token first = lexer.next();
    lexer.skip_statement(first);
    const Token after = lexer.next();
    EXPECT_EQ(after.text, "next") << chunk;
    EXPECT_EQ(after.line, 2) << chunk;
  }
}

TEST(LeadBytes, RangesOfEachCodePage) {
  struct Case {
    DoubleByteEncoding encoding;
    unsigned char byte;
    bool lead;
  };
  const Case cases[] = {
      {GBK, 0x80, false}, {GBK, 0x81, true},  {GBK, 0xA0, true},   {GBK, 0xDF, true},   {GBK, 0xFE, true},
      {GBK, 0xFF, false}, {GBK, 0x5C, false}, {SJIS, 0x80, false}, {SJIS, 0x81, true},  {SJIS, 0x9F, true},
      {SJIS, 0xA0, false}, {SJIS, 0xA1, false}, {SJIS, 0xDF, false}, {SJIS, 0xE0, true}, {SJIS, 0xFC, true},
      {SJIS, 0xFD, false}, {DoubleByteEncoding::None, 0x81, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(is_lead_byte(c.encoding, c.byte), c.lead) << static_cast<int>(c.encoding) << " " << int(c.byte);
  }
}

TEST(SkipStatement, TruncatedBodyNamesTheStatement) {
  MemorySource source("\n  setAttr \".vt[0:2]\" 1 2 3\n 4 5");
  Lexer lexer(source, "t.ma", 3);
  const Token first = lexer.next();
  try {
    lexer.skip_statement(first);
    FAIL() << "no error";
  } catch (const ParseError& e) {
    EXPECT_EQ(e.line(), 2);
    EXPECT_EQ(e.column(), 3);
    EXPECT_NE(e.reason().find("'setAttr' has no closing ';'"), std::string::npos);
  }
}

}  // namespace
}  // namespace mayascene
