// The byte rules of code page 932 text in edit controls and text buffers.
#include <gtest/gtest.h>

#include "platform/user32/controls/edit_text.h"
#include "platform/user32/text_buffer.h"

using namespace win32::user32;

namespace {

struct FitCase {
  const char* name;
  std::u16string typed;
  std::size_t room;
  std::u16string fitted;
};

void PrintTo(const FitCase& c, std::ostream* out) { *out << c.name; }

class FitToRoomCases : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitToRoomCases, KeepsWholeCharactersThatFit) { EXPECT_EQ(FitToRoom(GetParam().typed, GetParam().room), GetParam().fitted); }

INSTANTIATE_TEST_SUITE_P(
    Cases, FitToRoomCases,
    ::testing::Values(FitCase{"AllFit", u"abc", 3, u"abc"}, FitCase{"CutAtRoom", u"abcd", 3, u"abc"},
                      FitCase{"FullWidthCountsTwo", u"あいう", 5, u"あい"},
                      // A double-byte character that does not fit stops the typing: a later
                      // single-byte one does not jump in ahead of it.
                      FitCase{"NoSkippingPastAWideCharacter", u"aあb", 2, u"a"},
                      FitCase{"HalfWidthKatakanaCountsOne", u"ｱｲ", 2, u"ｱｲ"},
                      FitCase{"MissingCharactersAreLeftOut", u"a€b😀c", 10, u"abc"},
                      FitCase{"NoRoom", u"a", 0, u""}, FitCase{"NecExtensionCountsTwo", u"①②", 4, u"①②"},
                      FitCase{"WaveDashFormOfCp932", u"～", 2, u"～"}),
    [](const ::testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

TEST(EditText, BytePositionsAndCharacterIndexes) {
  std::u16string text = u"aあbいc";  // bytes: a=0, あ=1..2, b=3, い=4..5, c=6
  EXPECT_EQ(Cp932Length(text), 7u);
  EXPECT_EQ(ByteOffsetOf(text, 0), 0u);
  EXPECT_EQ(ByteOffsetOf(text, 2), 3u);
  EXPECT_EQ(ByteOffsetOf(text, 5), 7u);
  EXPECT_EQ(ByteOffsetOf(text, 99), 7u);
  EXPECT_EQ(IndexAtByte(text, 1), 1u);
  EXPECT_EQ(IndexAtByte(text, 2), 1u);  // inside あ: its start
  EXPECT_EQ(IndexAtByte(text, 3), 2u);
  EXPECT_EQ(IndexAtByte(text, 7), 5u);
  EXPECT_EQ(IndexAtByte(text, 100), 5u);
  EXPECT_EQ(Cp932Width(u'€'), 0u);
  EXPECT_EQ(Cp932Width(u'\\'), 1u);
}

TEST(TextBuffer, CopiesWholeCharactersAndTerminates) {
  std::string text = "\x95\x5C" "a\x83\x5C";  // 表 a ソ: trail bytes that look like '\'
  char buffer[8];
  EXPECT_EQ(CopyText(text, buffer, 8), 5u);
  EXPECT_EQ(std::string(buffer), text);
  EXPECT_EQ(CopyText(text, buffer, 5), 3u);  // ソ does not fit in the 4 bytes left for text
  EXPECT_EQ(std::string(buffer), "\x95\x5C" "a");
  EXPECT_EQ(CopyText(text, buffer, 2), 0u);
  EXPECT_EQ(buffer[0], '\0');
  buffer[0] = 'x';
  EXPECT_EQ(CopyText(text, buffer, 0), 0u);
  EXPECT_EQ(buffer[0], 'x');  // a buffer of no size is not touched
  // A lone lead byte at the end counts as one byte.
  EXPECT_EQ(WholeCharacters("ab\x82", 3), 3u);
}

}  // namespace
