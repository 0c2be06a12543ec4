// The panel's and the overlays' texts, read back from the frame's pixels: each text's ink
// in its main colour at its place, and its shadow's colour at its offset.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/render/frame_fixture.h"
#include "tests/render/text_ink.h"

namespace render_test {
namespace {

constexpr Rgb White = RgbOf(255, 255, 255);
constexpr Rgb Grey = RgbOf(128, 128, 128);
constexpr Rgb Red = RgbOf(255, 0, 0);
constexpr Rgb Green = RgbOf(0, 255, 0);
constexpr Rgb Blue = RgbOf(0, 0, 255);
constexpr Rgb Yellow = RgbOf(255, 255, 0);
constexpr Rgb Cyan = RgbOf(0, 255, 255);
constexpr Rgb Magenta = RgbOf(255, 0, 255);

struct ExpectedText {
  std::string text;
  int x;
  int y;
  Rgb colour;
  int shadowDx;
  int shadowDy;
  Rgb shadowColour;
  TextStyle style;
};

std::ostream& operator<<(std::ostream& out, const ExpectedText& t) {
  return out << "text at (" << t.x << ", " << t.y << ") of " << t.text.size() << " bytes";
}

void ExpectText(const Canvas& frame, const ExpectedText& t) {
  SCOPED_TRACE(::testing::PrintToString(t));
  const TextInk ink = InkOf(t.text.c_str(), t.style, t.colour);
  const InkMatch main = MatchInk(frame, ink, t.x, t.y, t.colour);
  EXPECT_GE(main.recall, 0.9) << "the text's strokes show its main colour";
  EXPECT_GE(main.precision, 0.9) << "its main colour lies on the text";
  const ShadowFit shadow = FitShadow(frame, ink, t.x, t.y, t.shadowColour);
  EXPECT_EQ(shadow.dx, t.shadowDx);
  EXPECT_EQ(shadow.dy, t.shadowDy);
  EXPECT_GE(shadow.share, 0.85) << "the shadow's visible pixels lie on the text's shape";
}

constexpr TextStyle Key = {12, true, false};
constexpr TextStyle Legend = {15, true, false};
constexpr TextStyle Counter = {17, false, false};
constexpr TextStyle Ranking = {17, true, false};

const ExpectedText FixedPanelTexts[] = {
    {"ポロンゴ", 490, 10, White, 2, 2, Grey, {25, true, true}},
    {"(C) Porongo Team", 520, 41, Green, 1, 1, White, {15, false, true}},
    {"＋３＆得点＋３", 525, 200, Red, 1, 1, White, Legend},
    {"＋５＆得点＋５", 525, 216, Red, 1, 1, White, Legend},
    {"－３", 525, 232, Red, 1, 1, White, Legend},
    {"ゲームオーバー", 510, 260, Red, 1, 1, White, Legend},
    {"↑キー", 540, 300, Yellow, 1, 1, White, Key},
    {"上を向く", 540, 313, Red, 1, 1, White, Key},
    {"←キー", 490, 320, Yellow, 1, 1, White, Key},
    {"左を向く", 490, 333, Red, 1, 1, White, Key},
    {"→キー", 600, 320, Yellow, 1, 1, White, Key},
    {"右を向く", 590, 333, Red, 1, 1, White, Key},
    {"↓キー", 540, 346, Yellow, 1, 1, White, Key},
    {"下を向く", 540, 359, Red, 1, 1, White, Key},
    {"スペースキー", 525, 400, Yellow, 1, 1, White, Key},
    {"一時停止", 535, 412, Red, 1, 1, White, Key},
};

TEST_F(FrameTest, PanelTextsLandInTheirPlacesAndColours) {
  PlaceSnake({0, 0, Down}, {});
  for (PlayState state : {Playing, Paused, GameOver}) {
    SCOPED_TRACE(state);
    game.SetState(state);
    Frame();
    for (const ExpectedText& t : FixedPanelTexts) ExpectText(canvas, t);
  }
}

TEST_F(FrameTest, LegendShowsEachObjectsSprites) {
  PlaceSnake({0, 0, Down}, {});
  Frame();
  const struct {
    int x, y;
    Rgb colour;
  } sprites[] = {{490, 200, PickupColour(Grow3)}, {510, 200, BodyColour(Up)},        {490, 216, PickupColour(Grow5)},
                 {510, 216, BodyColour(Up)},      {490, 232, PickupColour(Shrink3)}, {510, 232, BodyColour(Up)},
                 {490, 260, RoamerColour()}};
  for (const auto& s : sprites) {
    EXPECT_EQ(canvas.At(s.x + 8, s.y + 8), s.colour) << s.x << ", " << s.y;
    EXPECT_EQ(canvas.At(s.x + 1, s.y + 1), Black) << "the key colour lets the panel show";
  }
}

std::string Format(const char* format, int value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

TEST_F(FrameTest, CountersShowEveryDigitOfScoreAndBodyLength) {
  const int scores[] = {0, 7, 99999, 123456, 2147483647, -2147483648};
  for (int score : scores) {
    SCOPED_TRACE(score);
    PlaceSnake({0, 0, Down}, {});
    game.SetScore(score);
    Frame();
    ExpectText(canvas, {Format("得　点：%05d", score), 510, 80, Cyan, 1, 1, White, Counter});
    ExpectText(canvas, {"胴　体：00000", 510, 100, Magenta, 1, 1, White, Counter});
  }
  game.Grow(MaxBody);
  Frame();
  ExpectText(canvas, {"胴　体：00900", 510, 100, Magenta, 1, 1, White, Counter});
}

TEST_F(FrameTest, OverlayTitlesAndPromptMatchTheState) {
  PlaceSnake({0, 0, Down}, {});
  const ExpectedText prompt = {"Push SpaceKey To ReStart", 50, 430, White, 2, 2, Grey, {30, true, true}};
  game.SetState(Paused);
  Frame();
  ExpectText(canvas, {"Ｐａｕｓｅ...", 160, 30, Blue, 2, 2, Green, {50, true, true}});
  ExpectText(canvas, prompt);
  game.SetState(GameOver);
  Frame();
  ExpectText(canvas, {"ＧａｍｅＯｖｅｒ...！", 80, 30, Red, 2, 2, Blue, {50, true, true}});
  ExpectText(canvas, prompt);
}

// Writes Ranking.dat in the test's own working directory, as a player might edit it.
void WriteRanking(const char* text) {
  std::FILE* file = std::fopen("Ranking.dat", "wb");
  ASSERT_NE(file, nullptr);
  std::fputs(text, file);
  std::fclose(file);
}

TEST_F(FrameTest, RankingRowsShowEveryEntryInFull) {
  WriteRanking(
      "[1]\r\nName=ポロンゴ名人\r\nBody=45\r\nScore=123\r\n"
      "[2]\r\nName=No Name\r\nBody=0\r\nScore=99\r\n"
      "[3]\r\nName=\r\nBody=900\r\nScore=123456\r\n"
      "[4]\r\nName=abcdefghijklmnopqrst\r\nBody=1\r\nScore=2147483647\r\n"
      "[5]\r\nName=\r\nBody=2147483647\r\nScore=-2147483648\r\n");
  game.Ranking().Load();
  PlaceSnake({0, 0, Down}, {});
  const char* lines[] = {"01位 得点:00123 胴体:00045", "02位 得点:00099 胴体:00000", "03位 得点:123456 胴体:00900",
                         "04位 得点:2147483647 胴体:00001", "05位 得点:-2147483648 胴体:2147483647"};
  // (The fifth line is long enough to run under the name column, so its name is empty.)
  const char* names[] = {"ポロンゴ名人", "No Name", "", "abcdefghijklmnopqrst", ""};
  for (PlayState state : {Paused, GameOver}) {
    SCOPED_TRACE(state);
    game.SetState(state);
    Frame();
    for (int i = 0; i < 5; ++i) {
      const int y = 114 + 68 * i;
      ExpectText(canvas, {lines[i], 30, y, White, 1, 1, Green, Ranking});
      if (names[i][0] != '\0') ExpectText(canvas, {names[i], 300, y, White, 1, 1, Green, Ranking});
    }
    // The entry without a name shows nothing right of its numbers.
    int lit = 0;
    for (int y = 182 + 68; y < 182 + 68 + 20; ++y)
      for (int x = 300; x < 460; ++x) lit += canvas.At(x, y) == White || canvas.At(x, y) == Green;
    EXPECT_EQ(lit, 0);
  }
}

}  // namespace
}  // namespace render_test
