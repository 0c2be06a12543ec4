#include "render/surface.h"

#include "render/keyed_region.h"

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
  KeyedRegion parts(dc, srcX, srcY, w, h, keyColour, hdcDest, hdcDest);
  BitBlt(hdcDest, x, y, w, h, parts.MaskDc(), 0, 0, SRCAND);
  BitBlt(hdcDest, x, y, w, h, parts.ImageDc(), 0, 0, SRCINVERT);
}

void Surface::BlitKeyedAuto(HDC hdcDest, int x, int y) const {
  COLORREF keyColour = GetPixel(dc, 0, 0);
  BlitKeyed(hdcDest, x, y, width, height, 0, 0, keyColour);
}
