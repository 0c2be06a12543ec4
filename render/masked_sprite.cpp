#include "render/masked_sprite.h"

#include "render/raster_ops.h"

void MaskedSprite::Build(HDC hdcSrc, int srcX, int srcY, int width, int height, COLORREF keyColour) {
  // A colour-to-monochrome copy gives 1 exactly where the source has its background
  // colour, so with the key colour as background the monochrome bitmap marks the key pixels.
  HDC monoDc = CreateCompatibleDC(hdcSrc);
  HBITMAP monoBitmap = CreateBitmap(width, height, 1, 1, NULL);
  SelectObject(monoDc, monoBitmap);
  COLORREF oldBkColour = SetBkColor(hdcSrc, keyColour);
  BitBlt(monoDc, 0, 0, width, height, hdcSrc, srcX, srcY, SRCCOPY);
  SetBkColor(hdcSrc, oldBkColour);

  // Monochrome to colour paints 1 bits in the background colour (white in a new DC) and 0
  // bits in the text colour (black): white over the key, black over the figure.
  HBITMAP maskBitmap = CreateCompatibleBitmap(hdcSrc, width, height);
  HDC maskDc = CreateCompatibleDC(hdcSrc);
  SelectObject(maskDc, maskBitmap);
  BitBlt(maskDc, 0, 0, width, height, monoDc, 0, 0, SRCCOPY);

  HDC imageDc = CreateCompatibleDC(hdcSrc);
  HBITMAP imageBitmap = CreateCompatibleBitmap(hdcSrc, width, height);
  SelectObject(imageDc, imageBitmap);
  BitBlt(imageDc, 0, 0, width, height, hdcSrc, srcX, srcY, SRCCOPY);
  BitBlt(imageDc, 0, 0, width, height, monoDc, 0, 0, ROP_DEST_AND_NOT_SOURCE);

  image.CreateCopy(imageDc, 0, 0, width, height);
  mask.CreateCopy(maskDc, 0, 0, width, height);

  DeleteDC(monoDc);
  DeleteDC(maskDc);
  DeleteDC(imageDc);
  DeleteObject(monoBitmap);
  DeleteObject(maskBitmap);
  DeleteObject(imageBitmap);
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
