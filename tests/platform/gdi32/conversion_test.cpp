// Colour ↔ monochrome transfers, and the masked-sprite recipe built on them.
#include <gtest/gtest.h>

#include "gdi_test_support.h"

namespace {

using gdi_test::Canvas;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kCyan = RGB(0, 255, 255);

TEST(Conversion, ColourToMonoMarksTheSourceBackgroundColour) {
  Canvas colour(4, 1);
  const COLORREF pixels[] = {kCyan, RGB(0, 255, 254), kBlack, kWhite};
  colour.Paint([&](int x, int) { return pixels[x]; });
  Canvas mono(4, 1, true);
  SetBkColor(colour.dc(), kCyan);
  // The destination's colours play no part in this direction.
  SetTextColor(mono.dc(), RGB(10, 20, 30));
  SetBkColor(mono.dc(), RGB(40, 50, 60));
  ASSERT_TRUE(BitBlt(mono.dc(), 0, 0, 4, 1, colour.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(mono.At(0, 0), kWhite);  // exactly the background colour
  EXPECT_EQ(mono.At(1, 0), kBlack);  // one step off is not
  EXPECT_EQ(mono.At(2, 0), kBlack);
  EXPECT_EQ(mono.At(3, 0), kBlack);  // white is only white when it is the background colour
}

TEST(Conversion, MonoToColourUsesTheDestinationsTextAndBackgroundColours) {
  Canvas mono(2, 1, true);
  mono.Paint([](int x, int) { return x == 0 ? kBlack : kWhite; });
  Canvas colour(2, 1);
  SetTextColor(colour.dc(), RGB(200, 0, 0));
  SetBkColor(colour.dc(), RGB(0, 0, 200));
  // The source's colours play no part in this direction.
  SetTextColor(mono.dc(), RGB(1, 1, 1));
  SetBkColor(mono.dc(), RGB(2, 2, 2));
  ASSERT_TRUE(BitBlt(colour.dc(), 0, 0, 2, 1, mono.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(colour.At(0, 0), RGB(200, 0, 0));
  EXPECT_EQ(colour.At(1, 0), RGB(0, 0, 200));
}

TEST(Conversion, SameFormatsCopyUnchanged) {
  Canvas a(2, 1, true), b(2, 1, true);
  a.Paint([](int x, int) { return x ? kWhite : kBlack; });
  SetBkColor(a.dc(), kBlack);  // would invert a colour→mono copy; mono→mono ignores it
  BitBlt(b.dc(), 0, 0, 2, 1, a.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(b.At(0, 0), kBlack);
  EXPECT_EQ(b.At(1, 0), kWhite);

  Canvas c(1, 1), d(1, 1);
  c.Fill(RGB(1, 2, 3));
  SetBkColor(c.dc(), RGB(1, 2, 3));
  BitBlt(d.dc(), 0, 0, 1, 1, c.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(d.At(0, 0), RGB(1, 2, 3));
}

TEST(Conversion, MonoDestinationTakesTheNearestOfBlackAndWhiteForBrushes) {
  Canvas mono(1, 1, true);
  struct Case {
    COLORREF brush;
    COLORREF result;
  } cases[] = {
      {RGB(250, 250, 250), kWhite}, {RGB(20, 20, 20), kBlack}, {RGB(255, 255, 0), kWhite}, {RGB(0, 0, 255), kBlack}};
  for (const Case& c : cases) {
    gdi_test::SelectedBrush brush(mono.dc(), c.brush);
    PatBlt(mono.dc(), 0, 0, 1, 1, PATCOPY);
    EXPECT_EQ(mono.At(0, 0), c.result) << std::hex << c.brush;
  }
}

// The sprite recipe: a monochrome selection of the key colour, a mask (white where the key
// colour is, black elsewhere), an image with the key pixels blacked out; drawn with SRCAND
// then SRCINVERT.
class MaskedSprite {
 public:
  MaskedSprite(HDC source, int width, int height, COLORREF key)
      : width_(width), height_(height), image_(width, height), mask_(width, height) {
    Canvas selection(width, height, true);
    COLORREF oldBk = SetBkColor(source, key);
    BitBlt(selection.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBk);
    BitBlt(mask_.dc(), 0, 0, width, height, selection.dc(), 0, 0, SRCCOPY);
    BitBlt(image_.dc(), 0, 0, width, height, source, 0, 0, SRCCOPY);
    BitBlt(image_.dc(), 0, 0, width, height, selection.dc(), 0, 0, 0x00220326);
  }
  void Draw(HDC dest, int x, int y) const {
    BitBlt(dest, x, y, width_, height_, mask_.dc(), 0, 0, SRCAND);
    BitBlt(dest, x, y, width_, height_, image_.dc(), 0, 0, SRCINVERT);
  }

 private:
  int width_;
  int height_;
  Canvas image_;
  Canvas mask_;
};

TEST(Conversion, MaskedSpriteLeavesKeyPixelsAndDrawsEveryOtherOne) {
  // A 4x4 figure on cyan, with pure black, white and near-cyan pixels in it, and one key
  // pixel inside the figure.
  const COLORREF sheet[4][4] = {
      {kCyan, kCyan, kBlack, kCyan},
      {kCyan, kBlack, RGB(255, 56, 56), kWhite},
      {RGB(0, 255, 254), kCyan, kBlack, RGB(224, 0, 224)},
      {kCyan, kWhite, kBlack, kCyan},
  };
  Canvas source(4, 4);
  source.Paint([&](int x, int y) { return sheet[y][x]; });
  MaskedSprite sprite(source.dc(), 4, 4, kCyan);

  Canvas board(6, 6);
  auto background = [](int x, int y) { return RGB(x * 40 + 3, y * 40 + 5, (x + y) * 20 + 7); };
  board.Paint(background);
  sprite.Draw(board.dc(), 1, 2);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      int sx = x - 1, sy = y - 2;
      bool covered = sx >= 0 && sx < 4 && sy >= 0 && sy < 4;
      COLORREF expected = covered && sheet[sy][sx] != kCyan ? sheet[sy][sx] : background(x, y);
      EXPECT_EQ(board.At(x, y), expected) << x << "," << y;
    }
  }
}

TEST(Conversion, MaskedSpriteIsClippedAtTheEdges) {
  Canvas source(3, 3);
  source.Paint([](int x, int y) { return (x + y) % 2 ? RGB(9, 9, 9) : kCyan; });
  MaskedSprite sprite(source.dc(), 3, 3, kCyan);
  Canvas board(4, 4);
  board.Fill(RGB(100, 100, 100));
  sprite.Draw(board.dc(), -1, 2);
  // Visible sprite pixels: columns 1..2 of rows 0..1 land at x 0..1, y 2..3.
  EXPECT_EQ(board.At(0, 2), RGB(9, 9, 9));        // (1,0)
  EXPECT_EQ(board.At(1, 2), RGB(100, 100, 100));  // (2,0) is key
  EXPECT_EQ(board.At(0, 3), RGB(100, 100, 100));  // (1,1) is key
  EXPECT_EQ(board.At(1, 3), RGB(9, 9, 9));        // (2,1)
  EXPECT_EQ(board.At(2, 2), RGB(100, 100, 100));  // beyond the sprite
  EXPECT_EQ(board.At(0, 1), RGB(100, 100, 100));
}

}  // namespace
