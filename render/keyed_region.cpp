#include "render/keyed_region.h"

#include "render/raster_ops.h"

KeyedRegion::KeyedRegion(HDC hdcSrc, int srcX, int srcY, int width, int height, COLORREF keyColour, HDC monoRef,
                         HDC imageRef) {
  // A colour-to-monochrome copy gives 1 exactly where the source has its background
  // colour, so with the key colour as background the monochrome bitmap marks the key pixels.
  monoDc = CreateCompatibleDC(monoRef);
  monoBitmap = CreateBitmap(width, height, 1, 1, NULL);
  SelectObject(monoDc, monoBitmap);
  COLORREF oldBkColour = SetBkColor(hdcSrc, keyColour);
  BitBlt(monoDc, 0, 0, width, height, hdcSrc, srcX, srcY, SRCCOPY);
  SetBkColor(hdcSrc, oldBkColour);

  // Monochrome to colour paints 1 bits in the background colour (white in a new DC) and 0
  // bits in the text colour (black): white over the key, black over the figure.
  maskBitmap = CreateCompatibleBitmap(hdcSrc, width, height);
  maskDc = CreateCompatibleDC(hdcSrc);
  SelectObject(maskDc, maskBitmap);
  BitBlt(maskDc, 0, 0, width, height, monoDc, 0, 0, SRCCOPY);

  imageDc = CreateCompatibleDC(hdcSrc);
  imageBitmap = CreateCompatibleBitmap(imageRef, width, height);
  SelectObject(imageDc, imageBitmap);
  BitBlt(imageDc, 0, 0, width, height, hdcSrc, srcX, srcY, SRCCOPY);
  BitBlt(imageDc, 0, 0, width, height, monoDc, 0, 0, ROP_DEST_AND_NOT_SOURCE);
}

KeyedRegion::~KeyedRegion() {
  DeleteDC(monoDc);
  DeleteDC(maskDc);
  DeleteDC(imageDc);
  DeleteObject(monoBitmap);
  DeleteObject(maskBitmap);
  DeleteObject(imageBitmap);
}
