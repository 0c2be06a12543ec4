#include "render/surface.h"

#include "render/raster_ops.h"

void Surface::Release() {
  if (dc != NULL) DeleteDC(dc);
  if (bitmap != NULL) DeleteObject(bitmap);
  dc = NULL;
  bitmap = NULL;
  width = 0;
  height = 0;
}

void Surface::Attach(HDC hdcRef, HBITMAP newBitmap, int newWidth, int newHeight) {
  if (Holds()) Release();
  dc = CreateCompatibleDC(hdcRef);
  bitmap = newBitmap;
  width = newWidth;
  height = newHeight;
  // The DC's initial bitmap that comes back is a stock object: it is never reselected,
  // since deleting the DC first is all GDI needs.
  SelectObject(dc, bitmap);
}

void Surface::CreateCopy(HDC hdcSrc, int srcX, int srcY, int newWidth, int newHeight) {
  if (Holds()) Release();
  dc = CreateCompatibleDC(hdcSrc);
  bitmap = CreateCompatibleBitmap(hdcSrc, newWidth, newHeight);
  width = newWidth;
  height = newHeight;
  SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, hdcSrc, srcX, srcY, SRCCOPY);
}

void Surface::CreateBlank(HDC hdcRef, int newWidth, int newHeight) {
  if (Holds()) Release();
  dc = CreateCompatibleDC(hdcRef);
  bitmap = CreateCompatibleBitmap(hdcRef, newWidth, newHeight);
  width = newWidth;
  height = newHeight;
  SelectObject(dc, bitmap);
  BitBlt(dc, 0, 0, width, height, NULL, 0, 0, BLACKNESS);
}

void Surface::Blit(HDC hdcDest, int x, int y) const { BitBlt(hdcDest, x, y, width, height, dc, 0, 0, SRCCOPY); }

void Surface::BlitRegion(HDC hdcDest, int x, int y, int w, int h, int srcX, int srcY) const {
  BitBlt(hdcDest, x, y, w, h, dc, srcX, srcY, SRCCOPY);
}

void Surface::BlitKeyed(HDC hdcDest, int x, int y, int w, int h, int srcX, int srcY, COLORREF keyColour) const {
  // 1 bits exactly where the region has the key colour.
  HDC monoDc = CreateCompatibleDC(hdcDest);
  HBITMAP monoBitmap = CreateBitmap(w, h, 1, 1, NULL);
  SelectObject(monoDc, monoBitmap);
  COLORREF oldBkColour = SetBkColor(dc, keyColour);
  BitBlt(monoDc, 0, 0, w, h, dc, srcX, srcY, SRCCOPY);
  SetBkColor(dc, oldBkColour);

  // The mask: white over the key colour, black over the figure.
  HBITMAP maskBitmap = CreateCompatibleBitmap(dc, w, h);
  HDC maskDc = CreateCompatibleDC(dc);
  SelectObject(maskDc, maskBitmap);
  BitBlt(maskDc, 0, 0, w, h, monoDc, 0, 0, SRCCOPY);

  // The image: the region with its key-colour pixels blacked out.
  HDC imageDc = CreateCompatibleDC(dc);
  HBITMAP imageBitmap = CreateCompatibleBitmap(hdcDest, w, h);
  SelectObject(imageDc, imageBitmap);
  BitBlt(imageDc, 0, 0, w, h, dc, srcX, srcY, SRCCOPY);
  BitBlt(imageDc, 0, 0, w, h, monoDc, 0, 0, ROP_DEST_AND_NOT_SOURCE);

  BitBlt(hdcDest, x, y, w, h, maskDc, 0, 0, SRCAND);
  BitBlt(hdcDest, x, y, w, h, imageDc, 0, 0, SRCINVERT);

  DeleteDC(monoDc);
  DeleteDC(maskDc);
  DeleteDC(imageDc);
  DeleteObject(monoBitmap);
  DeleteObject(maskBitmap);
  DeleteObject(imageBitmap);
}

void Surface::BlitKeyedAuto(HDC hdcDest, int x, int y) const {
  COLORREF keyColour = GetPixel(dc, 0, 0);
  BlitKeyed(hdcDest, x, y, width, height, 0, 0, keyColour);
}
