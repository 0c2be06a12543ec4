#include "render/surface.h"

#include <gtest/gtest.h>

#include "tests/render/canvas.h"
#include "tests/render/sprite_pattern.h"

namespace render_test {
namespace {


constexpr Rgb Sentinel = RgbOf(12, 34, 56);

// A 32 by 24 bitmap in which every pixel has its own colour.
Rgb Gradient(int x, int y) { return RgbOf(x * 7 + 1, y * 9 + 2, (x ^ y) * 5 + 3); }

// Counts the canvas pixels that differ from expectedAt.
int Mismatches(const Canvas& canvas, const std::function<Rgb(int, int)>& expectedAt) {
  int wrong = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) wrong += canvas.At(x, y) != expectedAt(x, y);
  return wrong;
}

TEST(Surface, AttachedSurfaceBlitsOnlyItsStatedSize) {
  Canvas canvas(48, 40, Sentinel);
  Surface surface;
  surface.Attach(canvas.Dc(), MakeBitmap(canvas.Dc(), 32, 24, Gradient), 16, 8);
  EXPECT_EQ(surface.GetWidth(), 16);
  EXPECT_EQ(surface.GetHeight(), 8);
  surface.Blit(canvas.Dc(), 3, 5);
  EXPECT_EQ(Mismatches(canvas,
                       [](int x, int y) {
                         const bool inside = x >= 3 && y >= 5 && x < 3 + 16 && y < 5 + 8;
                         return inside ? Gradient(x - 3, y - 5) : Sentinel;
                       }),
            0);
}

TEST(Surface, BlitRegionCopiesTheChosenRegion) {
  Canvas canvas(48, 40, Sentinel);
  Surface surface;
  surface.Attach(canvas.Dc(), MakeBitmap(canvas.Dc(), 32, 24, Gradient), 32, 24);
  surface.BlitRegion(canvas.Dc(), 10, 20, 6, 4, 25, 17);
  EXPECT_EQ(Mismatches(canvas,
                       [](int x, int y) {
                         const bool inside = x >= 10 && y >= 20 && x < 16 && y < 24;
                         return inside ? Gradient(x - 10 + 25, y - 20 + 17) : Sentinel;
                       }),
            0);
}

TEST(Surface, CreateCopyTakesARegionIntoAColourBitmap) {
  Canvas canvas(48, 40, Sentinel);
  canvas.Fill(Gradient);
  Surface copy;
  copy.CreateCopy(canvas.Dc(), 4, 6, 20, 10);
  canvas.Fill(Sentinel);
  copy.Blit(canvas.Dc(), 0, 0);
  EXPECT_EQ(Mismatches(canvas, [](int x, int y) { return x < 20 && y < 10 ? Gradient(x + 4, y + 6) : Sentinel; }), 0);
}

TEST(Surface, CreateBlankIsBlackAndHoldsColour) {
  Canvas canvas(48, 40, Sentinel);
  Surface blank;
  blank.CreateBlank(canvas.Dc(), 20, 10);
  blank.Blit(canvas.Dc(), 2, 2);
  EXPECT_EQ(
      Mismatches(canvas, [](int x, int y) { return x >= 2 && y >= 2 && x < 22 && y < 12 ? RgbOf(0, 0, 0) : Sentinel; }),
      0);
  // A colour bitmap keeps colours that a monochrome one would lose.
  Surface source;
  source.Attach(canvas.Dc(), MakeBitmap(canvas.Dc(), 32, 24, Gradient), 32, 24);
  source.BlitRegion(blank.GetDc(), 0, 0, 20, 10, 0, 0);
  canvas.Fill(Sentinel);
  blank.Blit(canvas.Dc(), 0, 0);
  EXPECT_EQ(Mismatches(canvas, [](int x, int y) { return x < 20 && y < 10 ? Gradient(x, y) : Sentinel; }), 0);
}

TEST(Surface, FillingAgainReleasesWhatItHeld) {
  SKIP_UNLESS_OBJECTS_ARE_COUNTED();
  Canvas canvas(48, 40);
  const std::size_t before = LiveObjectCount();
  Surface surface;
  for (int i = 0; i < 50; ++i) {
    surface.CreateBlank(canvas.Dc(), 8, 8);
    surface.CreateCopy(canvas.Dc(), 0, 0, 8, 8);
    surface.Attach(canvas.Dc(), MakeBitmap(canvas.Dc(), 4, 4, Gradient), 4, 4);
    EXPECT_EQ(LiveObjectCount(), before + 2);
  }
  surface.Release();
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST(Surface, ReleasingTwiceDeletesOnce) {
  SKIP_UNLESS_OBJECTS_ARE_COUNTED();
  Canvas canvas(8, 8);
  const std::size_t before = LiveObjectCount();
  Surface surface;
  surface.CreateBlank(canvas.Dc(), 8, 8);
  surface.Release();
  EXPECT_EQ(LiveObjectCount(), before);
  EXPECT_EQ(surface.GetDc(), HDC(NULL));
  EXPECT_EQ(surface.GetWidth(), 0);

  // Objects made after the first release may reuse the old handle values: the second
  // release must not touch them.
  Surface other;
  other.CreateBlank(canvas.Dc(), 8, 8);
  surface.Release();
  EXPECT_EQ(LiveObjectCount(), before + 2);
  EXPECT_NE(GetObjectType(other.GetDc()), 0u);
}

// BlitKeyed cuts the mask on every call; the result must match a MaskedSprite's.
TEST(Surface, BlitKeyedLeavesKeyPixelsAloneAndCleansUp) {
  Canvas canvas(24, 20);
  Surface sheet;
  sheet.Attach(canvas.Dc(), MakeBitmap(canvas.Dc(), PatternWidth, PatternHeight, PatternAt), PatternWidth,
               PatternHeight);
  SetBkColor(sheet.GetDc(), RGB(9, 8, 7));
  const std::size_t before = LiveObjectCount();

  using Blitter = void (*)(const Surface&, HDC);
  const struct {
    const char* name;
    Blitter blit;
  } ways[] = {
      {"BlitKeyed",
       [](const Surface& s, HDC dest) {
         s.BlitKeyed(dest, 5, 7, PatternWidth, PatternHeight, 0, 0, ColorRefOf(PatternKey));
       }},
      {"BlitKeyedAuto", [](const Surface& s, HDC dest) { s.BlitKeyedAuto(dest, 5, 7); }},
  };
  for (const auto& way : ways)
    for (const Background& background : Backgrounds) {
      SCOPED_TRACE(std::string(way.name) + " over " + background.name);
      canvas.Fill(background.at);
      way.blit(sheet, canvas.Dc());
      EXPECT_EQ(Mismatches(canvas,
                           [&](int x, int y) {
                             const int sx = x - 5;
                             const int sy = y - 7;
                             const bool inside = sx >= 0 && sy >= 0 && sx < PatternWidth && sy < PatternHeight;
                             return inside && PatternAt(sx, sy) != PatternKey ? PatternAt(sx, sy) : background.at(x, y);
                           }),
                0);
    }
  EXPECT_EQ(LiveObjectCount(), before) << "the scratch DCs and bitmaps are deleted";
  EXPECT_EQ(GetBkColor(sheet.GetDc()), RGB(9, 8, 7));
}

TEST(Surface, BlitKeyedCopiesARegion) {
  // The pattern at (10, 4) of a larger red surface: only the region is drawn.
  Canvas canvas(24, 20, Sentinel);
  Surface sheet;
  sheet.Attach(canvas.Dc(),
               MakeBitmap(canvas.Dc(), 30, 20,
                          [](int x, int y) {
                            const bool inside = x >= 10 && y >= 4 && x < 10 + PatternWidth && y < 4 + PatternHeight;
                            return inside ? PatternAt(x - 10, y - 4) : RgbOf(255, 0, 0);
                          }),
               30, 20);
  sheet.BlitKeyed(canvas.Dc(), 1, 2, PatternWidth, PatternHeight, 10, 4, ColorRefOf(PatternKey));
  EXPECT_EQ(Mismatches(canvas,
                       [](int x, int y) {
                         const int sx = x - 1;
                         const int sy = y - 2;
                         const bool inside = sx >= 0 && sy >= 0 && sx < PatternWidth && sy < PatternHeight;
                         return inside && PatternAt(sx, sy) != PatternKey ? PatternAt(sx, sy) : Sentinel;
                       }),
            0);
}

}  // namespace
}  // namespace render_test
