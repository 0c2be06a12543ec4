// Every ternary raster operation against its truth table, evaluated here bit by bit.
#include <gtest/gtest.h>

#include <random>

#include "gdi_test_support.h"

namespace {

using gdi_test::Canvas;
using gdi_test::SelectedBrush;

// The result of operation `index` on 24-bit colours, one bit at a time: bit (P<<2|S<<1|D)
// of the index is the output for that combination.
COLORREF Expected(unsigned index, COLORREF p, COLORREF s, COLORREF d) {
  COLORREF out = 0;
  for (int bit = 0; bit < 24; ++bit) {
    unsigned combination = ((p >> bit) & 1) << 2 | ((s >> bit) & 1) << 1 | ((d >> bit) & 1);
    out |= ((index >> combination) & 1u) << bit;
  }
  return out;
}

DWORD RopCode(unsigned index) { return index << 16; }
unsigned Index(DWORD rop) { return (rop >> 16) & 0xFF; }

TEST(RasterOps, AllColourOperationsMatchTheirTruthTables) {
  constexpr int kPixels = 24;
  std::mt19937 random(1234);
  auto colour = [&] { return static_cast<COLORREF>(random() & 0xFFFFFF); };
  std::vector<COLORREF> sources(kPixels);
  std::vector<COLORREF> dests(kPixels);
  // The first pixel holds all eight input combinations in every channel.
  sources[0] = 0xCCCCCC;
  dests[0] = 0xAAAAAA;
  for (int i = 1; i < kPixels; ++i) {
    sources[i] = colour();
    dests[i] = colour();
  }
  const COLORREF patterns[] = {0xF0F0F0, 0x000000, 0xFFFFFF, colour(), colour()};

  Canvas src(kPixels, 1);
  Canvas dst(kPixels, 1);
  src.Paint([&](int x, int) { return sources[x]; });
  for (unsigned index = 0; index < 256; ++index) {
    for (COLORREF pattern : patterns) {
      dst.Paint([&](int x, int) { return dests[x]; });
      SelectedBrush brush(dst.dc(), pattern);
      ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, kPixels, 1, src.dc(), 0, 0, RopCode(index)));
      for (int x = 0; x < kPixels; ++x)
        ASSERT_EQ(dst.At(x, 0), Expected(index, pattern, sources[x], dests[x]))
            << "index 0x" << std::hex << index << " pattern " << pattern << " pixel " << std::dec << x;
    }
  }
}

TEST(RasterOps, AllMonochromeOperationsMatchTheirTruthTables) {
  // Pixels 0..3 hold the (S, D) combinations; brushes give P = 0 and P = 1.
  Canvas src(4, 1, true);
  Canvas dst(4, 1, true);
  auto bit = [](int value) { return value ? COLORREF{0xFFFFFF} : COLORREF{0}; };
  src.Paint([&](int x, int) { return bit(x & 2); });
  for (unsigned index = 0; index < 256; ++index) {
    for (int p = 0; p < 2; ++p) {
      dst.Paint([&](int x, int) { return bit(x & 1); });
      SelectedBrush brush(dst.dc(), bit(p));
      ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, RopCode(index)));
      for (int x = 0; x < 4; ++x) {
        unsigned combination = unsigned(p) << 2 | unsigned(x);
        ASSERT_EQ(dst.At(x, 0), bit((index >> combination) & 1))
            << "index 0x" << std::hex << index << " P " << p << " S " << ((x >> 1) & 1) << " D " << (x & 1);
      }
    }
  }
}

TEST(RasterOps, OperationsWithoutSourceNeedNoSourceDC) {
  struct Case {
    DWORD rop;
    COLORREF brush;
    COLORREF before;
    COLORREF after;
  } cases[] = {
      {BLACKNESS, 0x123456, 0x808080, 0x000000}, {WHITENESS, 0x123456, 0x808080, 0xFFFFFF},
      {PATCOPY, 0x123456, 0x808080, 0x123456},   {PATINVERT, 0x0000FF, 0x00FFFF, 0x00FF00},
      {DSTINVERT, 0x123456, 0x0F0F0F, 0xF0F0F0},
  };
  for (const Case& c : cases) {
    Canvas dst(3, 2);
    dst.Fill(c.before);
    SelectedBrush brush(dst.dc(), c.brush);
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 3, 2, nullptr, 0, 0, c.rop)) << std::hex << c.rop;
    EXPECT_EQ(dst.At(2, 1), c.after) << std::hex << c.rop;
    dst.Fill(c.before);
    EXPECT_TRUE(PatBlt(dst.dc(), 0, 0, 3, 2, c.rop)) << std::hex << c.rop;
    EXPECT_EQ(dst.At(0, 0), c.after) << std::hex << c.rop;
  }
}

TEST(RasterOps, OperationsWithSourceFailWithoutOne) {
  Canvas dst(2, 2);
  dst.Fill(0x445566);
  EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
  EXPECT_FALSE(PatBlt(dst.dc(), 0, 0, 2, 2, SRCCOPY));
  EXPECT_EQ(dst.At(1, 1), 0x445566u);
}

TEST(RasterOps, OnlyTheIndexByteCounts) {
  // The low word and the flag bits do not change the operation.
  Canvas src(1, 1);
  Canvas dst(1, 1);
  src.Fill(0x0F0F0F);
  for (DWORD rop : {DWORD{0x00660000}, DWORD{SRCINVERT}, DWORD{SRCINVERT | NOMIRRORBITMAP}, DWORD{0x0066FFFF}}) {
    dst.Fill(0x00FF00);
    BitBlt(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, rop);
    EXPECT_EQ(dst.At(0, 0), 0x0FF00Fu) << std::hex << rop;
  }
}

TEST(RasterOps, MergeCopyWithABlueBrushKeepsOnlyBlue) {
  // The tint box: a blit of a surface onto itself with MERGECOPY (P and S).
  Canvas surface(8, 4);
  surface.Paint([](int x, int y) { return RGB(x * 30 + 5, y * 60 + 7, 200 - x * 20); });
  {
    SelectedBrush blue(surface.dc(), RGB(0, 0, 255));
    ASSERT_TRUE(BitBlt(surface.dc(), 2, 1, 4, 2, surface.dc(), 2, 1, MERGECOPY));
  }
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      COLORREF original = RGB(x * 30 + 5, y * 60 + 7, 200 - x * 20);
      bool inside = x >= 2 && x < 6 && y >= 1 && y < 3;
      EXPECT_EQ(surface.At(x, y), inside ? RGB(0, 0, GetBValue(original)) : original) << x << "," << y;
    }
  }
}

TEST(RasterOps, EveryWidthAndRowOfARectangleInsideLargerSurfaces) {
  // Rectangles of every width up to a few vectors of pixels, at odd places inside larger
  // bitmaps, from odd places of a source of another width; also a source that is the
  // destination itself at the same place (the tint box's kind of blit).
  std::mt19937 random(99);
  auto colour = [&] { return static_cast<COLORREF>(random() & 0xFFFFFF); };
  constexpr int W = 23, H = 7, SW = 19, SH = 9;
  Canvas src(SW, SH);
  std::vector<COLORREF> sources(SW * SH);
  for (COLORREF& c : sources) c = colour();
  src.Paint([&](int x, int y) { return sources[y * SW + x]; });
  const DWORD rops[] = {SRCCOPY, SRCAND, SRCINVERT, MERGECOPY, NOTSRCERASE, PATINVERT, DSTINVERT, 0x00B80000};
  for (DWORD rop : rops) {
    for (int width = 1; width <= 13; ++width) {
      for (bool itself : {false, true}) {
        Canvas dst(W, H);
        std::vector<COLORREF> before(W * H);
        for (COLORREF& c : before) c = colour();
        dst.Paint([&](int x, int y) { return before[y * W + x]; });
        const COLORREF pattern = colour();
        SelectedBrush brush(dst.dc(), pattern);
        const int x0 = 3 + width % 5, y0 = 1, sx = 17 - width, sy = 2;
        const int height = 5;
        if (itself)
          ASSERT_TRUE(BitBlt(dst.dc(), x0, y0, width, height, dst.dc(), x0, y0, rop));
        else
          ASSERT_TRUE(BitBlt(dst.dc(), x0, y0, width, height, src.dc(), sx, sy, rop));
        for (int y = 0; y < H; ++y) {
          for (int x = 0; x < W; ++x) {
            const bool inside = x >= x0 && x < x0 + width && y >= y0 && y < y0 + height;
            const COLORREF d = before[y * W + x];
            const COLORREF s = itself ? d : inside ? sources[(y - y0 + sy) * SW + (x - x0 + sx)] : 0;
            ASSERT_EQ(dst.At(x, y), inside ? Expected(Index(rop), pattern, s, d) : d)
                << std::hex << "rop " << rop << std::dec << " width " << width << (itself ? " onto itself" : "")
                << " at " << x << "," << y;
          }
        }
      }
    }
  }
}

TEST(RasterOps, NullBrushPaintsNothing) {
  Canvas dst(2, 1);
  dst.Fill(0x010203);
  HGDIOBJ old = SelectObject(dst.dc(), GetStockObject(NULL_BRUSH));
  EXPECT_TRUE(PatBlt(dst.dc(), 0, 0, 2, 1, PATCOPY));
  EXPECT_EQ(dst.At(0, 0), 0x010203u);
  SelectObject(dst.dc(), old);
}

}  // namespace
