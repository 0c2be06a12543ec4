#include "render/masked_sprite.h"

#include <gtest/gtest.h>

#include "tests/render/canvas.h"
#include "tests/render/sprite_pattern.h"

namespace render_test {
namespace {

constexpr int DrawX = 5;
constexpr int DrawY = 7;

// The pattern's bitmap, attached to a Surface so a sprite can be cut from it.
struct Sheet {
  explicit Sheet(HDC hdcRef) {
    surface.Attach(hdcRef, MakeBitmap(hdcRef, PatternWidth, PatternHeight, PatternAt), PatternWidth, PatternHeight);
  }
  Surface surface;
};

// Every pixel under a key-colour pixel of the pattern keeps the background; every other
// pixel of the sprite's rectangle shows the pattern; nothing outside it changes.
void ExpectDrawnOver(const Canvas& canvas, const Background& background) {
  int wrong = 0;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x) {
      const int sx = x - DrawX;
      const int sy = y - DrawY;
      const bool inside = sx >= 0 && sy >= 0 && sx < PatternWidth && sy < PatternHeight;
      const Rgb expected = inside && PatternAt(sx, sy) != PatternKey ? PatternAt(sx, sy) : background.at(x, y);
      if (canvas.At(x, y) != expected && ++wrong <= 5)
        ADD_FAILURE() << background.name << ": pixel (" << x << ", " << y << ") is " << std::hex << canvas.At(x, y)
                      << ", expected " << expected;
    }
  EXPECT_EQ(wrong, 0) << background.name;
}

TEST(MaskedSprite, DrawsFigureOverAnyBackgroundAndLeavesKeyPixelsAlone) {
  Canvas canvas(24, 20);
  Sheet sheet(canvas.Dc());
  MaskedSprite sprite;
  sprite.Build(sheet.surface.GetDc(), 0, 0, PatternWidth, PatternHeight, ColorRefOf(PatternKey));
  for (const Background& background : Backgrounds) {
    canvas.Fill(background.at);
    sprite.Draw(canvas.Dc(), DrawX, DrawY);
    ExpectDrawnOver(canvas, background);
  }
}

TEST(MaskedSprite, BuildLeavesTheSourceBackgroundColourAsItWas) {
  Canvas canvas(24, 20);
  Sheet sheet(canvas.Dc());
  SetBkColor(sheet.surface.GetDc(), RGB(1, 2, 3));
  MaskedSprite sprite;
  sprite.Build(sheet.surface.GetDc(), 0, 0, PatternWidth, PatternHeight, ColorRefOf(PatternKey));
  EXPECT_EQ(GetBkColor(sheet.surface.GetDc()), RGB(1, 2, 3));
}

TEST(MaskedSprite, BuildingAgainReplacesBothPartsWithoutLeaking) {
  SKIP_UNLESS_OBJECTS_ARE_COUNTED();
  Canvas canvas(24, 20);
  Sheet sheet(canvas.Dc());
  MaskedSprite sprite;
  const std::size_t before = LiveObjectCount();
  sprite.Build(sheet.surface.GetDc(), 0, 0, PatternWidth, PatternHeight, ColorRefOf(PatternKey));
  EXPECT_EQ(LiveObjectCount(), before + 4) << "two DCs and two bitmaps";
  const HDC firstImage = sprite.PartDc(MaskedSprite::ImagePart);

  // Built again with black as the key: the pattern's black pixel becomes transparent and
  // the cyan ground is drawn.
  sprite.Build(sheet.surface.GetDc(), 0, 0, PatternWidth, PatternHeight, RGB(0, 0, 0));
  EXPECT_EQ(LiveObjectCount(), before + 4);
  EXPECT_EQ(GetObjectType(firstImage), 0u) << "the first image's DC is deleted";
  canvas.Fill(RgbOf(255, 255, 255));
  sprite.Draw(canvas.Dc(), DrawX, DrawY);
  EXPECT_EQ(canvas.At(DrawX + 4, DrawY + 4), RgbOf(255, 255, 255));
  EXPECT_EQ(canvas.At(DrawX, DrawY), PatternKey);

  sprite.Release();
  EXPECT_EQ(LiveObjectCount(), before);
}

TEST(MaskedSprite, PartsAreImageAndMaskAndNothingElse) {
  Canvas canvas(24, 20);
  Sheet sheet(canvas.Dc());
  MaskedSprite sprite;
  sprite.Build(sheet.surface.GetDc(), 0, 0, PatternWidth, PatternHeight, ColorRefOf(PatternKey));

  struct Case {
    int part;
    bool exists;
  };
  for (const Case& c : {Case{0, true}, Case{1, true}, Case{2, false}, Case{-1, false}, Case{5, false}}) {
    SCOPED_TRACE(c.part);
    EXPECT_EQ(sprite.PartDc(c.part) != NULL, c.exists);
    EXPECT_EQ(sprite.PartWidth(c.part), c.exists ? PatternWidth : 0);
    EXPECT_EQ(sprite.PartHeight(c.part), c.exists ? PatternHeight : 0);
  }
  EXPECT_NE(sprite.PartDc(0), sprite.PartDc(1));

  // The mask is white over the key and black over the figure; the image is black over the key.
  EXPECT_EQ(GetPixel(sprite.PartDc(MaskedSprite::MaskPart), 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(sprite.PartDc(MaskedSprite::MaskPart), 6, 5), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(sprite.PartDc(MaskedSprite::MaskPart), 4, 4), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(sprite.PartDc(MaskedSprite::MaskPart), 7, 3), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(sprite.PartDc(MaskedSprite::ImagePart), 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(sprite.PartDc(MaskedSprite::ImagePart), 3, 3), ColorRefOf(PatternAt(3, 3)));
}

TEST(MaskedSprite, BuildFromBitmapTakesTheBitmapOver) {
  Canvas canvas(24, 20);
  const std::size_t before = LiveObjectCount();
  HBITMAP bitmap = MakeBitmap(canvas.Dc(), PatternWidth, PatternHeight, PatternAt);
  MaskedSprite sprite;
  sprite.BuildFromBitmap(canvas.Dc(), bitmap, PatternWidth, PatternHeight, ColorRefOf(PatternKey));
  EXPECT_EQ(GetObjectType(bitmap), 0u) << "the passed bitmap is deleted";
  if (ObjectsAreCounted()) {
    EXPECT_EQ(LiveObjectCount(), before + 4);
  }

  canvas.Fill(Backgrounds[3].at);
  sprite.Draw(canvas.Dc(), DrawX, DrawY);
  ExpectDrawnOver(canvas, Backgrounds[3]);
}

TEST(MaskedSprite, ReleasedSpriteDrawsNothingAndHoldsNothing) {
  SKIP_UNLESS_OBJECTS_ARE_COUNTED();
  Canvas canvas(24, 20);
  Sheet sheet(canvas.Dc());
  const std::size_t before = LiveObjectCount();
  {
    MaskedSprite sprite;
    sprite.Build(sheet.surface.GetDc(), 0, 0, PatternWidth, PatternHeight, ColorRefOf(PatternKey));
    sprite.Release();
    EXPECT_EQ(LiveObjectCount(), before);
    EXPECT_EQ(sprite.PartDc(0), HDC(NULL));
    canvas.Fill(Backgrounds[3].at);
    sprite.Draw(canvas.Dc(), DrawX, DrawY);
    int changed = 0;
    for (int y = 0; y < canvas.Height(); ++y)
      for (int x = 0; x < canvas.Width(); ++x) changed += canvas.At(x, y) != Backgrounds[3].at(x, y);
    EXPECT_EQ(changed, 0);
  }
  {
    MaskedSprite sprite;
    sprite.Build(sheet.surface.GetDc(), 0, 0, PatternWidth, PatternHeight, ColorRefOf(PatternKey));
  }
  EXPECT_EQ(LiveObjectCount(), before) << "the destructor releases both parts";
}

}  // namespace
}  // namespace render_test
