// A transparent sprite: an image and a mask cut once from a sheet with a key colour, so that
// drawing it costs two raster operations and creates no GDI object.
#pragma once

#include "platform/win32.h"
#include "render/surface.h"

class MaskedSprite {
 public:
  // Part numbers for PartDc, PartWidth and PartHeight.
  static constexpr int ImagePart = 0;
  static constexpr int MaskPart = 1;

  // The members are destroyed in reverse order: the mask first, then the image.
  MaskedSprite() = default;
  MaskedSprite(const MaskedSprite&) = delete;
  MaskedSprite& operator=(const MaskedSprite&) = delete;

  // Cuts image and mask from the width by height region at (srcX, srcY) of hdcSrc: every
  // pixel of keyColour becomes transparent. Building again replaces both parts.
  void Build(HDC hdcSrc, int srcX, int srcY, int width, int height, COLORREF keyColour);
  // Build from a bitmap that the sprite takes over: the bitmap is deleted afterwards and
  // the sprite keeps copies of its own.
  void BuildFromBitmap(HDC hdcRef, HBITMAP bitmap, int width, int height, COLORREF keyColour);
  // Figure pixels replace the destination, key-colour pixels leave it as it was.
  void Draw(HDC hdcDest, int x, int y) const;

  // ImagePart or MaskPart; any other number gives a null DC and a size of 0.
  HDC PartDc(int i) const;
  int PartWidth(int i) const;
  int PartHeight(int i) const;

  void Release();

 private:
  const Surface* Part(int i) const;

  Surface image;  // the figure, with black where the key colour was
  Surface mask;   // white where the key colour was, black over the figure
};
