// StretchBlt in each stretch mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "gdi_test_support.h"

namespace {

using gdi_test::Blue;
using gdi_test::Canvas;
using gdi_test::Green;
using gdi_test::Red;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;

TEST(Stretch, DefaultModeIsBlackOnWhiteAndModesAreKept) {
  Canvas c(1, 1);
  EXPECT_EQ(GetStretchBltMode(c.dc()), BLACKONWHITE);
  EXPECT_EQ(SetStretchBltMode(c.dc(), HALFTONE), BLACKONWHITE);
  EXPECT_EQ(SetStretchBltMode(c.dc(), 99), 0);
  EXPECT_EQ(GetStretchBltMode(c.dc()), HALFTONE);
}

TEST(Stretch, OneToOneEqualsBitBltInEveryMode) {
  std::mt19937 random(7);
  Canvas src(9, 7);
  src.Paint([&](int, int) { return static_cast<COLORREF>(random() & 0xFFFFFF); });
  struct Rect {
    int x, y, w, h, sx, sy;
  } rects[] = {{0, 0, 9, 7, 0, 0}, {2, 1, 5, 4, 3, 2}, {-2, -3, 9, 7, 0, 0}, {4, 4, 9, 7, 1, 1}};
  for (int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE}) {
    for (DWORD rop : {DWORD{SRCCOPY}, DWORD{SRCINVERT}, DWORD{MERGECOPY}}) {
      for (const Rect& r : rects) {
        Canvas a(8, 8), b(8, 8);
        a.Paint([](int x, int y) { return RGB(x * 31, y * 31, 128); });
        b.Paint([](int x, int y) { return RGB(x * 31, y * 31, 128); });
        gdi_test::SelectedBrush brushA(a.dc(), RGB(0, 200, 255));
        gdi_test::SelectedBrush brushB(b.dc(), RGB(0, 200, 255));
        SetStretchBltMode(b.dc(), mode);
        BitBlt(a.dc(), r.x, r.y, r.w, r.h, src.dc(), r.sx, r.sy, rop);
        StretchBlt(b.dc(), r.x, r.y, r.w, r.h, src.dc(), r.sx, r.sy, r.w, r.h, rop);
        ASSERT_EQ(a.Pixels(), b.Pixels())
            << "mode " << mode << " rop " << std::hex << rop << std::dec << " rect " << r.x << "," << r.y;
      }
    }
  }
}

TEST(Stretch, HalftoneShrinkAveragesACheckerboardToGrey) {
  Canvas src(16, 16);
  src.Paint([](int x, int y) { return (x + y) % 2 ? kWhite : kBlack; });
  for (int size : {8, 4, 5}) {
    Canvas dst(size, size);
    SetStretchBltMode(dst.dc(), HALFTONE);
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, size, size, src.dc(), 0, 0, 16, 16, SRCCOPY));
    for (COLORREF p : dst.Pixels()) {
      EXPECT_NEAR(Red(p), 128, 12) << size;
      EXPECT_EQ(Red(p), Green(p));
      EXPECT_EQ(Red(p), Blue(p));
    }
  }
}

TEST(Stretch, HalftoneEnlargeIsSmooth) {
  // Four steps of grey stretched 16 times: a smooth ramp, not four blocks.
  Canvas src(4, 1);
  src.Paint([](int x, int) { return RGB(x * 80, x * 80, x * 80); });
  Canvas dst(64, 3);
  SetStretchBltMode(dst.dc(), HALFTONE);
  ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 64, 3, src.dc(), 0, 0, 4, 1, SRCCOPY));
  std::set<int> levels;
  for (int x = 1; x < 64; ++x) {
    EXPECT_GE(Red(dst.At(x, 1)), Red(dst.At(x - 1, 1))) << x;
    EXPECT_LE(Red(dst.At(x, 1)) - Red(dst.At(x - 1, 1)), 12) << x;
  }
  for (int x = 0; x < 64; ++x) levels.insert(Red(dst.At(x, 1)));
  EXPECT_GT(levels.size(), 30u);
  // The ends keep the end colours.
  EXPECT_EQ(dst.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(dst.At(63, 2), RGB(240, 240, 240));
}

TEST(Stretch, OtherModesReplicatePixelsWhenEnlarging) {
  Canvas src(2, 2);
  const COLORREF colours[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(9, 9, 9)}};
  src.Paint([&](int x, int y) { return colours[y][x]; });
  for (int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR}) {
    Canvas dst(8, 6);
    SetStretchBltMode(dst.dc(), mode);
    StretchBlt(dst.dc(), 0, 0, 8, 6, src.dc(), 0, 0, 2, 2, SRCCOPY);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) ASSERT_EQ(dst.At(x, y), colours[y / 3][x / 4]) << mode << " " << x << "," << y;
  }
}

TEST(Stretch, ShrinkingScanRulesKeepBlackOrWhiteLines) {
  // A one-pixel black line on white, and a white line on black, halved.
  Canvas blackLine(8, 8, true), whiteLine(8, 8, true);
  blackLine.Paint([](int x, int) { return x == 3 ? kBlack : kWhite; });
  whiteLine.Paint([](int x, int) { return x == 3 ? kWhite : kBlack; });
  struct Case {
    int mode;
    Canvas* source;
    COLORREF line;
    bool kept;
  } cases[] = {
      {BLACKONWHITE, &blackLine, kBlack, true},
      {WHITEONBLACK, &whiteLine, kWhite, true},
      {BLACKONWHITE, &whiteLine, kWhite, false},
      {WHITEONBLACK, &blackLine, kBlack, false},
  };
  for (const Case& c : cases) {
    Canvas dst(4, 4, true);
    SetStretchBltMode(dst.dc(), c.mode);
    StretchBlt(dst.dc(), 0, 0, 4, 4, c.source->dc(), 0, 0, 8, 8, SRCCOPY);
    int lineColumns = 0;
    for (int x = 0; x < 4; ++x) lineColumns += dst.At(x, 2) == c.line;
    EXPECT_EQ(lineColumns, c.kept ? 1 : 0) << "mode " << c.mode;
  }
}

TEST(Stretch, ColourOnColourDropsScans) {
  Canvas src(8, 1);
  src.Paint([](int x, int) { return RGB(x * 20, 0, 0); });
  Canvas dst(4, 1);
  SetStretchBltMode(dst.dc(), COLORONCOLOR);
  StretchBlt(dst.dc(), 0, 0, 4, 1, src.dc(), 0, 0, 8, 1, SRCCOPY);
  for (int x = 0; x < 4; ++x) {
    int r = Red(dst.At(x, 0));
    EXPECT_TRUE(r == x * 40 || r == x * 40 + 20) << "picked, not blended: " << r;
  }
}

TEST(Stretch, NegativeExtentsMirror) {
  Canvas src(4, 2);
  src.Paint([](int x, int y) { return RGB(x * 60, y * 200, 0); });
  for (int mode : {COLORONCOLOR, HALFTONE}) {
    Canvas h(4, 2), v(4, 2), both(4, 2);
    for (Canvas* c : {&h, &v, &both}) SetStretchBltMode(c->dc(), mode);
    // A negative extent covers [origin + extent, origin).
    StretchBlt(h.dc(), 4, 0, -4, 2, src.dc(), 0, 0, 4, 2, SRCCOPY);        // destination mirrored
    StretchBlt(v.dc(), 0, 0, 4, 2, src.dc(), 0, 2, 4, -2, SRCCOPY);        // source mirrored vertically
    StretchBlt(both.dc(), 4, 2, -4, -2, src.dc(), 4, 2, -4, -2, SRCCOPY);  // both: no mirroring
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(h.At(x, y), src.At(3 - x, y)) << mode << " h " << x << "," << y;
        EXPECT_EQ(v.At(x, y), src.At(x, 1 - y)) << mode << " v " << x << "," << y;
        EXPECT_EQ(both.At(x, y), src.At(x, y)) << mode << " both " << x << "," << y;
      }
    }
  }
}

TEST(Stretch, RasterOperationAppliesAfterTheStretch) {
  Canvas src(1, 1);
  src.Fill(RGB(0x0F, 0xF0, 0x55));
  Canvas dst(3, 3);
  dst.Fill(RGB(0xFF, 0xFF, 0x00));
  SetStretchBltMode(dst.dc(), HALFTONE);
  StretchBlt(dst.dc(), 0, 0, 3, 3, src.dc(), 0, 0, 1, 1, SRCINVERT);
  for (COLORREF p : dst.Pixels()) EXPECT_EQ(p, RGB(0xF0, 0x0F, 0x55));
}

TEST(Stretch, ClippedToBothSurfaces) {
  Canvas src(4, 4);
  src.Fill(RGB(1, 2, 3));
  Canvas dst(6, 6);
  dst.Fill(kWhite);
  // The source rectangle reaches past the source; only the part inside it is drawn.
  StretchBlt(dst.dc(), -2, 0, 16, 4, src.dc(), 0, 0, 8, 2, SRCCOPY);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      bool drawn = y < 4;  // source columns 0..3 land at destination x -2..5
      EXPECT_EQ(dst.At(x, y), drawn ? RGB(1, 2, 3) : kWhite) << x << "," << y;
    }
  }
  dst.Fill(kWhite);
  StretchBlt(dst.dc(), 0, 0, 6, 6, src.dc(), 2, 2, 4, 4, SRCCOPY);  // source's right half is missing
  EXPECT_EQ(dst.At(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(dst.At(2, 2), RGB(1, 2, 3));
  EXPECT_EQ(dst.At(3, 0), kWhite);
  EXPECT_EQ(dst.At(0, 3), kWhite);
}

TEST(Stretch, MonoSourceIntoColourUsesTheConversionRules) {
  Canvas mono(2, 1, true);
  mono.Paint([](int x, int) { return x ? kWhite : kBlack; });
  Canvas dst(4, 2);
  SetTextColor(dst.dc(), RGB(200, 0, 0));
  SetBkColor(dst.dc(), RGB(0, 0, 200));
  StretchBlt(dst.dc(), 0, 0, 4, 2, mono.dc(), 0, 0, 2, 1, SRCCOPY);
  EXPECT_EQ(dst.At(1, 1), RGB(200, 0, 0));
  EXPECT_EQ(dst.At(2, 0), RGB(0, 0, 200));
}

}  // namespace
