#include "render/masked_sprite.h"

#include "render/keyed_region.h"

void MaskedSprite::Build(HDC hdcSrc, int srcX, int srcY, int width, int height, COLORREF keyColour) {
  KeyedRegion parts(hdcSrc, srcX, srcY, width, height, keyColour, hdcSrc, hdcSrc);
  image.CreateCopy(parts.ImageDc(), 0, 0, width, height);
  mask.CreateCopy(parts.MaskDc(), 0, 0, width, height);
}

void MaskedSprite::BuildFromBitmap(HDC hdcRef, HBITMAP bitmap, int width, int height, COLORREF keyColour) {
  Surface source;
  source.Attach(hdcRef, bitmap, width, height);
  Build(source.GetDc(), 0, 0, width, height, keyColour);
  source.Release();
}

void MaskedSprite::Draw(HDC hdcDest, int x, int y) const {
  // AND with the mask blacks out the figure's place; XOR with the image (black around the
  // figure) then paints the figure into it and leaves the rest alone.
  BitBlt(hdcDest, x, y, PartWidth(MaskPart), PartHeight(MaskPart), PartDc(MaskPart), 0, 0, SRCAND);
  BitBlt(hdcDest, x, y, PartWidth(ImagePart), PartHeight(ImagePart), PartDc(ImagePart), 0, 0, SRCINVERT);
}

const Surface* MaskedSprite::Part(int i) const {
  switch (i) {
    case ImagePart:
      return &image;
    case MaskPart:
      return &mask;
  }
  return nullptr;
}

HDC MaskedSprite::PartDc(int i) const {
  const Surface* part = Part(i);
  return part != nullptr ? part->GetDc() : NULL;
}

int MaskedSprite::PartWidth(int i) const {
  const Surface* part = Part(i);
  return part != nullptr ? part->GetWidth() : 0;
}

int MaskedSprite::PartHeight(int i) const {
  const Surface* part = Part(i);
  return part != nullptr ? part->GetHeight() : 0;
}

void MaskedSprite::Release() {
  image.Release();
  mask.Release();
}
