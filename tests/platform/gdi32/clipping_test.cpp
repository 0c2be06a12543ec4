// BitBlt's rectangles: clipping to both surfaces, negative positions, degenerate sizes and
// transfers within one surface.
#include <gtest/gtest.h>

#include "gdi_test_support.h"

namespace {

using gdi_test::Canvas;

COLORREF Marker(int x, int y) { return RGB(x * 10 + 1, y * 10 + 2, 77); }
constexpr COLORREF kUntouched = RGB(250, 251, 252);

struct ClipCase {
  const char* name;
  int x, y, cx, cy, x1, y1;
};

// Reference: copy pixel by pixel where both the destination and source pixel exist.
COLORREF ExpectedAfterCopy(const ClipCase& c, int x, int y, int srcW, int srcH) {
  if (x < c.x || y < c.y || x >= c.x + c.cx || y >= c.y + c.cy) return kUntouched;
  int sx = x - c.x + c.x1, sy = y - c.y + c.y1;
  if (sx < 0 || sy < 0 || sx >= srcW || sy >= srcH) return kUntouched;
  return Marker(sx, sy);
}

TEST(Clipping, CopiesOnlyWhereBothSurfacesHavePixels) {
  const ClipCase cases[] = {
      {"inside", 1, 1, 3, 2, 0, 0},
      {"past right and bottom", 4, 3, 5, 5, 0, 0},
      {"negative destination", -2, -1, 4, 4, 0, 0},
      {"negative source", 0, 0, 4, 4, -2, -3},
      {"source past its end", 0, 0, 6, 5, 3, 2},
      {"all outside", 7, 7, 3, 3, 0, 0},
      {"source outside", 0, 0, 2, 2, 9, 9},
      {"huge extent", -1000, -1000, 2000000, 2000000, -1000, -1000},
  };
  const int W = 6, H = 5, SW = 5, SH = 4;
  Canvas src(SW, SH);
  src.Paint(Marker);
  for (const ClipCase& c : cases) {
    Canvas dst(W, H);
    dst.Fill(kUntouched);
    EXPECT_TRUE(BitBlt(dst.dc(), c.x, c.y, c.cx, c.cy, src.dc(), c.x1, c.y1, SRCCOPY)) << c.name;
    for (int y = 0; y < H; ++y)
      for (int x = 0; x < W; ++x)
        ASSERT_EQ(dst.At(x, y), ExpectedAfterCopy(c, x, y, SW, SH)) << c.name << " at " << x << "," << y;
  }
}

TEST(Clipping, ZeroAndNegativeExtentsDrawNothing) {
  Canvas src(4, 4);
  src.Paint(Marker);
  Canvas dst(4, 4);
  for (auto [cx, cy] : {std::pair{0, 2}, {2, 0}, {-2, 2}, {2, -2}, {-3, -3}}) {
    dst.Fill(kUntouched);
    EXPECT_TRUE(BitBlt(dst.dc(), 2, 2, cx, cy, src.dc(), 2, 2, SRCCOPY));
    for (COLORREF p : dst.Pixels()) ASSERT_EQ(p, kUntouched) << cx << "x" << cy;
  }
}

TEST(Clipping, PatBltAcceptsEitherCorner) {
  Canvas dst(4, 4);
  dst.Fill(kUntouched);
  PatBlt(dst.dc(), 3, 3, -2, -2, BLACKNESS);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(dst.At(x, y), (x >= 1 && x < 3 && y >= 1 && y < 3) ? 0u : kUntouched) << x << "," << y;
}

TEST(Clipping, OverlappingCopyWithinOneSurfaceReadsTheOriginalPixels) {
  // Each shift moves a 4x4 block over itself; the result must be as if it were copied
  // through a separate buffer.
  const std::pair<int, int> shifts[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}, {2, -1}};
  for (auto [dx, dy] : shifts) {
    Canvas s(6, 6);
    s.Paint(Marker);
    ASSERT_TRUE(BitBlt(s.dc(), 1 + dx, 1 + dy, 4, 4, s.dc(), 1, 1, SRCCOPY));
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 6; ++x) {
        int sx = x - dx, sy = y - dy;
        bool moved = x >= 1 + dx && x < 5 + dx && y >= 1 + dy && y < 5 + dy;
        ASSERT_EQ(s.At(x, y), moved ? Marker(sx, sy) : Marker(x, y)) << dx << "," << dy << " at " << x << "," << y;
      }
    }
  }
}

TEST(Clipping, InvalidHandlesAreRefused) {
  Canvas dst(2, 2);
  HDC stale = CreateCompatibleDC(nullptr);
  DeleteDC(stale);
  EXPECT_FALSE(BitBlt(stale, 0, 0, 1, 1, dst.dc(), 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 1, 1, stale, 0, 0, SRCCOPY));
  EXPECT_FALSE(BitBlt(reinterpret_cast<HDC>(0x12345), 0, 0, 1, 1, dst.dc(), 0, 0, SRCCOPY));
  EXPECT_FALSE(StretchBlt(dst.dc(), 0, 0, 2, 2, stale, 0, 0, 1, 1, SRCCOPY));
  EXPECT_EQ(GetPixel(stale, 0, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dst.dc(), 2, 0), CLR_INVALID);
  EXPECT_EQ(GetPixel(dst.dc(), 0, -1), CLR_INVALID);
  EXPECT_EQ(SetPixel(dst.dc(), -1, 0, 0), CLR_INVALID);
}

}  // namespace
