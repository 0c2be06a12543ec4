// StretchBlt in each stretch mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "gdi_test_support.h"

namespace {

using gdi_test::Blue;
using gdi_test::Canvas;
using gdi_test::Green;
using gdi_test::Red;
using gdi_test::StretchGeometry;

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

constexpr StretchGeometry kGeometries[] = {
    {"doubled", 64, 48, 128, 96, 0, 0, 128, 96, 0, 0, 64, 48},
    {"enlarged by odd ratios", 37, 23, 101, 67, 0, 0, 101, 67, 0, 0, 37, 23},
    {"shrunk a little", 64, 48, 50, 41, 0, 0, 50, 41, 0, 0, 64, 48},
    {"shrunk a lot", 64, 48, 13, 7, 0, 0, 13, 7, 0, 0, 64, 48},
    {"wider and shorter", 40, 30, 70, 11, 0, 0, 70, 11, 0, 0, 40, 30},
    {"one axis one to one", 10, 10, 10, 25, 0, 0, 10, 25, 0, 0, 10, 10},
    {"both mirrored", 64, 48, 100, 70, 90, 60, -85, -55, 3, 2, 50, 40},
    {"source mirrored", 33, 33, 47, 19, 2, 3, 40, 15, 30, 1, -25, 31},
    {"clipped on both surfaces", 64, 48, 100, 70, -10, -5, 120, 90, -4, -3, 70, 60},
    {"one pixel", 1, 1, 9, 9, 0, 0, 9, 9, 0, 0, 1, 1},
    {"tall and thin", 3, 1000, 7, 61, 0, 0, 7, 61, 0, 0, 3, 1000},
    {"tall and thin, mirrored", 3, 1000, 50, 200, 1, 1, 45, 190, 3, 1000, -3, -1000},
    {"wide to narrow", 200, 5, 3, 5, 0, 0, 3, 5, 0, 0, 200, 5},
};

void PaintRandomly(Canvas& c, unsigned seed) {
  std::mt19937 random(seed);
  c.Paint([&](int, int) { return static_cast<COLORREF>(random() & 0xFFFFFF); });
}

// A plain copy onto colour pixels is written straight into the destination; every other
// operation goes through the raster operations. MERGECOPY with a white brush (P and S) and
// SRCPAINT onto black (S or D) are copies too, so all three must give the same pixels.
TEST(Stretch, PlainCopiesGiveThePixelsOfTheRasterOperationPath) {
  for (const StretchGeometry& g : kGeometries) {
    for (bool monoSource : {false, true}) {
      Canvas src(g.srcW, g.srcH, monoSource);
      PaintRandomly(src, static_cast<unsigned>(g.srcW * 31 + g.dstW));
      for (int mode : {BLACKONWHITE, WHITEONBLACK, COLORONCOLOR, HALFTONE}) {
        Canvas copied(g.dstW, g.dstH), merged(g.dstW, g.dstH), painted(g.dstW, g.dstH);
        PaintRandomly(copied, 5);
        PaintRandomly(merged, 5);
        painted.Fill(kBlack);
        for (Canvas* c : {&copied, &merged, &painted}) {
          SetStretchBltMode(c->dc(), mode);
          SetTextColor(c->dc(), RGB(12, 34, 56));
          SetBkColor(c->dc(), RGB(200, 150, 100));
        }
        gdi_test::SelectedBrush white(merged.dc(), kWhite);
        ASSERT_TRUE(StretchBlt(copied.dc(), g.xd, g.yd, g.wd, g.hd, src.dc(), g.xs, g.ys, g.ws, g.hs, SRCCOPY));
        ASSERT_TRUE(StretchBlt(merged.dc(), g.xd, g.yd, g.wd, g.hd, src.dc(), g.xs, g.ys, g.ws, g.hs, MERGECOPY));
        ASSERT_TRUE(StretchBlt(painted.dc(), g.xd, g.yd, g.wd, g.hd, src.dc(), g.xs, g.ys, g.ws, g.hs, SRCPAINT));
        const std::vector<COLORREF> pixels = copied.Pixels();
        ASSERT_EQ(pixels, merged.Pixels()) << g.name << ", mode " << mode << (monoSource ? ", mono source" : "");
        // Onto black, only the drawn pixels can be compared.
        const std::vector<COLORREF> onBlack = painted.Pixels();
        const std::vector<COLORREF> before = [&] {
          Canvas fresh(g.dstW, g.dstH);
          PaintRandomly(fresh, 5);
          return fresh.Pixels();
        }();
        for (std::size_t i = 0; i < pixels.size(); ++i) {
          if (pixels[i] != before[i] || onBlack[i] != kBlack) {
            ASSERT_EQ(onBlack[i], pixels[i]) << g.name << ", mode " << mode << ", pixel " << i;
          }
        }
      }
    }
  }
}

TEST(Stretch, TheFramePresentedLargerIsTheSameOnEitherPath) {
  // The game's own case, with one column and one row more than a frame on either side.
  Canvas src(641, 480);
  PaintRandomly(src, 641);
  Canvas copied(1279, 961), merged(1279, 961);
  for (Canvas* c : {&copied, &merged}) SetStretchBltMode(c->dc(), HALFTONE);
  gdi_test::SelectedBrush white(merged.dc(), kWhite);
  ASSERT_TRUE(StretchBlt(copied.dc(), 0, 0, 1279, 961, src.dc(), 0, 0, 641, 480, SRCCOPY));
  ASSERT_TRUE(StretchBlt(merged.dc(), 0, 0, 1279, 961, src.dc(), 0, 0, 641, 480, MERGECOPY));
  EXPECT_EQ(copied.Pixels(), merged.Pixels());
}

TEST(Stretch, WithinOneSurfaceReadsTheOriginalPixels) {
  for (int mode : {COLORONCOLOR, HALFTONE}) {
    for (DWORD rop : {DWORD{SRCCOPY}, DWORD{SRCINVERT}}) {
      // Enlarging onto itself and shrinking onto itself, overlapping the source.
      Canvas surface(50, 40), original(50, 40), expected(50, 40);
      PaintRandomly(surface, 17);
      PaintRandomly(original, 17);
      PaintRandomly(expected, 17);
      for (Canvas* c : {&surface, &expected}) SetStretchBltMode(c->dc(), mode);
      StretchBlt(surface.dc(), 5, 3, 40, 30, surface.dc(), 0, 0, 25, 20, rop);
      StretchBlt(expected.dc(), 5, 3, 40, 30, original.dc(), 0, 0, 25, 20, rop);
      BitBlt(original.dc(), 0, 0, 50, 40, expected.dc(), 0, 0, SRCCOPY);
      StretchBlt(surface.dc(), 0, 0, 20, 15, surface.dc(), 10, 10, 40, 30, rop);
      StretchBlt(expected.dc(), 0, 0, 20, 15, original.dc(), 10, 10, 40, 30, rop);
      EXPECT_EQ(surface.Pixels(), expected.Pixels()) << "mode " << mode << " rop " << std::hex << rop;
    }
  }
}

// HALFTONE as a plain floating-point filter, one axis at a time: the area average when
// shrinking; when enlarging, linear interpolation between the two nearest pixel centres,
// held at the edge pixels.
std::vector<std::vector<std::pair<int, double>>> FilterTaps(int from, int to) {
  std::vector<std::vector<std::pair<int, double>>> taps(to);
  const double scale = double(from) / to;
  for (int i = 0; i < to; ++i) {
    if (from > to) {
      const double a = i * scale, b = (i + 1) * scale;
      for (int j = int(std::floor(a)); j < int(std::ceil(b)); ++j)
        taps[i].push_back({j, (std::min(b, j + 1.0) - std::max(a, double(j))) / scale});
    } else {
      const double v = (i + 0.5) * scale - 0.5;
      const int j = int(std::floor(v));
      const double f = v - j;
      taps[i].push_back({std::clamp(j, 0, from - 1), 1 - f});
      taps[i].push_back({std::clamp(j + 1, 0, from - 1), f});
    }
  }
  return taps;
}

TEST(Stretch, HalftoneIsAnAreaAverageOrALinearInterpolation) {
  struct Case {
    int srcW, srcH, dstW, dstH;
  } cases[] = {{37, 23, 101, 67}, {64, 48, 13, 7}, {65, 47, 40, 31}, {64, 48, 30, 100},
               {1, 1, 5, 3},      {3, 100, 7, 11}, {10, 10, 10, 25}, {9, 7, 18, 14}};
  for (const Case& k : cases) {
    Canvas src(k.srcW, k.srcH);
    PaintRandomly(src, static_cast<unsigned>(k.srcW + k.dstH));
    const std::vector<COLORREF> in = src.Pixels();
    Canvas dst(k.dstW, k.dstH);
    SetStretchBltMode(dst.dc(), HALFTONE);
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, k.dstW, k.dstH, src.dc(), 0, 0, k.srcW, k.srcH, SRCCOPY));
    const auto columns = FilterTaps(k.srcW, k.dstW);
    const auto rows = FilterTaps(k.srcH, k.dstH);
    int worst = 0;
    for (int y = 0; y < k.dstH; ++y) {
      for (int x = 0; x < k.dstW; ++x) {
        const COLORREF got = dst.At(x, y);
        for (int shift : {0, 8, 16}) {
          double want = 0;
          for (auto [r, wr] : rows[y])
            for (auto [c, wc] : columns[x]) want += wr * wc * ((in[r * k.srcW + c] >> shift) & 0xFF);
          worst = std::max(worst, int(std::lround(std::abs(want - ((got >> shift) & 0xFF)))));
        }
      }
    }
    // Weights are kept in 1/256ths and each axis rounds once.
    EXPECT_LE(worst, 2) << k.srcW << "x" << k.srcH << " to " << k.dstW << "x" << k.dstH;
  }
}

}  // namespace
