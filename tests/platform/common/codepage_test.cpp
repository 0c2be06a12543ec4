#include "platform/common/codepage.h"

#include <gtest/gtest.h>

namespace {

using win32::cp932::FromUtf16;
using win32::cp932::FromUtf16Lossy;
using win32::cp932::FromUtf8;
using win32::cp932::IsLeadByte;
using win32::cp932::ToUtf16;
using win32::cp932::ToUtf8;

TEST(Codepage, LiteralsAreCompiledAsCp932) {
  // 表 and ソ carry 0x5C ('\') as their trail byte.
  EXPECT_EQ(std::string("表ソ"), std::string("\x95\x5C\x83\x5C"));
}

TEST(Codepage, RoundTripsJapaneseText) {
  const std::string text = "ポロンゴ ﾍﾙﾌﾟ ＭＳ Ｐゴシック 表";
  std::u16string wide = ToUtf16(text);
  EXPECT_EQ(wide, u"ポロンゴ ﾍﾙﾌﾟ ＭＳ Ｐゴシック 表");
  EXPECT_EQ(FromUtf16(wide), text);
}

TEST(Codepage, UsesWindowsMappingsNotJis) {
  // Windows maps these bytes to the full-width forms, not to the JIS characters.
  struct Case {
    const char* bytes;
    char16_t expected;
  } cases[] = {{"\x81\x60", u'\uFF5E'}, {"\x81\x7C", u'\uFF0D'}, {"\x81\x61", u'\u2225'}, {"\x87\x40", u'\u2460'}};
  for (const Case& c : cases) {
    std::u16string wide = ToUtf16(c.bytes);
    ASSERT_EQ(wide.size(), 1u) << c.bytes;
    EXPECT_EQ(wide[0], c.expected);
    EXPECT_EQ(FromUtf16(wide), std::string(c.bytes));
  }
}

TEST(Codepage, DamagedBytesBecomeReplacementCharacters) {
  // A lone lead byte at the end, and 0xFD which is no character at all.
  EXPECT_EQ(ToUtf16(std::string("A\xFD" "B\x83")), u"A\uFFFDB\uFFFD");
}

TEST(Codepage, RefusesCharactersWithoutCp932Form) {
  EXPECT_FALSE(FromUtf16(u"caf\u00E9").has_value());   // é
  EXPECT_FALSE(FromUtf16(u"\U0001F600").has_value());  // an emoji, a surrogate pair
  EXPECT_EQ(FromUtf16Lossy(u"a\u00E9b\U0001F600c"), "a?b?c");
}

TEST(Codepage, Utf8Bridges) {
  EXPECT_EQ(ToUtf8("ポロンゴ"), "\xE3\x83\x9D\xE3\x83\xAD\xE3\x83\xB3\xE3\x82\xB4");
  EXPECT_EQ(FromUtf8("\xE3\x83\x9D\xE3\x83\xAD\xE3\x83\xB3\xE3\x82\xB4"), std::string("ポロンゴ"));
  EXPECT_FALSE(FromUtf8("\xE3\x83").has_value());  // truncated sequence
}

TEST(Codepage, NamesIgnoreTheCaseOfAsciiLettersOnly) {
  struct Case {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"BGM", "bgm", true},
      {"Music 1", "mUSIC 1", true},
      {"bgm", "bgm2", false},
      {"bgm", "bgn", false},
      // The second bytes of ア (83 41) and ヂ (83 61) are 'A' and 'a': different characters.
      {"\x83\x41", "\x83\x61", false},
      {"\x83\x41x", "\x83\x41X", true},
      // 表 ends in 0x5C; the name compares whole, not as two single bytes.
      {"表示", "表示", true},
      // A lead byte that ends the name stands for itself.
      {"ab\x83", "AB\x83", true},
      {"", "", true},
  };
  for (const Case& c : cases) EXPECT_EQ(win32::cp932::SameName(c.a, c.b), c.same) << c.a << " / " << c.b;
}

TEST(Codepage, LeadBytes) {
  for (int b = 0; b < 256; ++b) {
    bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<unsigned char>(b)), expected) << b;
  }
}

}  // namespace
