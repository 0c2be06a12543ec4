// Checks the committed icons, resources/porongo.ico and porongo_small.ico, and the desktop's
// pictures resources/porongo_<size>.png.
#include <gtest/gtest.h>

#include <string>

#include "tests/tools/art/picture_reader.h"

namespace arttest {
namespace {

constexpr Colour kBlack{0, 0, 0};

std::vector<IconImage> Icon(const std::string& name) { return ReadIco(ReadFile(PORONGO_SOURCE_DIR "/resources/" + name)); }

bool Reddish(const Colour& c) { return c.r > c.g + 60 && c.r > c.b + 60; }
bool Magentaish(const Colour& c) { return c.r > c.g + 60 && c.b > c.g + 60; }

// Share of the opaque pixels of the square (x0, y0, size) for which test holds, and how many
// are black.
struct Tally {
  double share;
  int black;
};
Tally Look(const Picture& p, int x0, int y0, int size, bool (*test)(const Colour&) = Reddish) {
  int opaque = 0, hits = 0, black = 0;
  for (int y = y0; y < y0 + size; ++y)
    for (int x = x0; x < x0 + size; ++x)
      if (!p.isClear(x, y)) ++opaque, hits += test(p.at(x, y)), black += p.at(x, y) == kBlack;
  return {opaque == 0 ? 0.0 : static_cast<double>(hits) / opaque, black};
}

void ExpectClearCornersOverBlack(const Picture& p) {
  const int last = p.width - 1;
  EXPECT_TRUE(p.isClear(0, 0) && p.isClear(last, 0) && p.isClear(0, last) && p.isClear(last, last));
  // Under a set mask bit the image must be black, or Windows would XOR its colour into the
  // screen behind the icon.
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) ASSERT_TRUE(!p.isClear(x, y) || p.at(x, y) == kBlack) << x << "," << y;
}

// A red head looking down: black pupils only in the lower half of the square.
void ExpectHeadLookingDown(const Picture& p, int x0, int y0, int size) {
  EXPECT_GT(Look(p, x0, y0, size).share, 0.6);
  EXPECT_EQ(Look(p, x0, y0, size / 2 * 2).black, Look(p, x0, y0 + size / 2, size / 2).black +
                                                        Look(p, x0 + size / 2, y0 + size / 2, size / 2).black);
  EXPECT_GT(Look(p, x0, y0 + size / 2, size / 2).black, 0) << "left eye";
  EXPECT_GT(Look(p, x0 + size / 2, y0 + size / 2, size / 2).black, 0) << "right eye";
}

// Three magenta body balls in a square with the head at the bottom right.
void ExpectSnakeOfFourBalls(const Picture& p) {
  const int h = p.width / 2;
  EXPECT_GT(Look(p, 0, 0, h, Magentaish).share, 0.7);
  EXPECT_GT(Look(p, h, 0, h, Magentaish).share, 0.7);
  EXPECT_GT(Look(p, 0, h, h, Magentaish).share, 0.7);
  ExpectHeadLookingDown(p, h, h, h);
}

TEST(Icons, LargeIconHolds16And32And48PixelSnakesOf256Colours) {
  const auto icon = Icon("porongo.ico");
  ASSERT_EQ(icon.size(), 3u);
  const int sizes[] = {16, 32, 48};
  for (std::size_t i = 0; i < 3; ++i) {
    const int size = sizes[i];
    SCOPED_TRACE(size);
    EXPECT_EQ(icon[i].entryWidth, size);
    EXPECT_EQ(icon[i].entryHeight, size);
    EXPECT_EQ(icon[i].colourCount, 0) << "256 colours";
    EXPECT_EQ(icon[i].bitCount, 8);
    EXPECT_EQ(icon[i].picture.width, size);
    EXPECT_EQ(icon[i].picture.bits, 8);
    ExpectClearCornersOverBlack(icon[i].picture);
    ExpectSnakeOfFourBalls(icon[i].picture);
  }
}

TEST(Icons, SmallIconIsTheHeadLookingDown) {
  const auto icon = Icon("porongo_small.ico");
  ASSERT_EQ(icon.size(), 1u);
  EXPECT_EQ(icon[0].entryWidth, 16);
  EXPECT_EQ(icon[0].bitCount, 8);
  EXPECT_EQ(icon[0].picture.bits, 8);
  ExpectClearCornersOverBlack(icon[0].picture);
  ExpectHeadLookingDown(icon[0].picture, 0, 0, 16);
}

TEST(Icons, DesktopPicturesAreRgbaPngsOfTheLargeIconAtEveryThemeSize) {
  for (int size : {16, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    const Picture p = ReadPng(ReadFile(PORONGO_SOURCE_DIR "/resources/porongo_" + std::to_string(size) + ".png"));
    ASSERT_EQ(p.width, size);
    ASSERT_EQ(p.height, size);
    int partial = 0;
    for (int a : p.alpha) partial += a > 0 && a < 255;
    // The small ones are pixel art like the window icon; the large ones are drawn big and
    // reduced, with soft edges.
    if (size <= 32)
      EXPECT_EQ(partial, 0);
    else
      EXPECT_GT(partial, size / 2) << "soft edges";
    EXPECT_EQ(p.alpha[static_cast<std::size_t>(size / 4) * size + size / 4], 255);
    EXPECT_TRUE(p.isClear(0, 0) && p.isClear(size - 1, size - 1));
    ExpectSnakeOfFourBalls(p);
  }
}

}  // namespace
}  // namespace arttest
