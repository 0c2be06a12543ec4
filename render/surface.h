// An off-screen drawing surface: a memory device context, the bitmap selected into it and
// the size of that bitmap, all owned by the Surface.
#pragma once

#include <cstdint>

#include "platform/win32.h"

class Surface {
 public:
  Surface() = default;
  ~Surface() { Release(); }
  // Each handle is deleted exactly once, by its one owner: a Surface is passed by reference.
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  // Deletes the DC, then the bitmap (a bitmap must not be selected anywhere when it is
  // deleted); the Surface is empty afterwards. Releasing an empty Surface does nothing.
  void Release();
  // Takes a ready bitmap into a new memory DC compatible with hdcRef; the Surface owns
  // the bitmap from then on. width and height are the caller's statement of its size.
  void Attach(HDC hdcRef, HBITMAP newBitmap, int newWidth, int newHeight);
  // A new bitmap compatible with hdcSrc, filled with the given region of hdcSrc.
  void CreateCopy(HDC hdcSrc, int srcX, int srcY, int newWidth, int newHeight);
  // A new bitmap compatible with hdcRef, filled with black.
  void CreateBlank(HDC hdcRef, int newWidth, int newHeight);

  // Copies the whole Surface to (x, y) of hdcDest.
  void Blit(HDC hdcDest, int x, int y) const;
  // Copies the w by h region at (srcX, srcY) to (x, y) of hdcDest.
  void BlitRegion(HDC hdcDest, int x, int y, int w, int h, int srcX, int srcY) const;
  // Copies a region to hdcDest leaving out every pixel of keyColour. Builds its mask in
  // scratch bitmaps on every call: for anything drawn often, cut a MaskedSprite instead.
  void BlitKeyed(HDC hdcDest, int x, int y, int w, int h, int srcX, int srcY, COLORREF keyColour) const;
  // BlitKeyed of the whole Surface, with its own top-left pixel as the key colour.
  void BlitKeyedAuto(HDC hdcDest, int x, int y) const;

  HDC GetDc() const { return dc; }
  int GetWidth() const { return width; }
  int GetHeight() const { return height; }

 private:
  bool Holds() const { return dc != NULL || bitmap != NULL; }

  HDC dc = NULL;
  HBITMAP bitmap = NULL;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
