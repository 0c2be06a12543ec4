// The two halves of a transparent copy: from a region of a source DC and a key colour, a
// mask (white over the key colour, black over the figure) and an image (the region with its
// key-colour pixels blacked out), each selected into a memory DC of its own.
#pragma once

#include "platform/win32.h"

class KeyedRegion {
 public:
  // The monochrome selection's DC is made compatible with monoRef and the image's bitmap
  // with imageRef; the mask and the image's DC are compatible with hdcSrc.
  KeyedRegion(HDC hdcSrc, int srcX, int srcY, int width, int height, COLORREF keyColour, HDC monoRef, HDC imageRef);
  // Deletes the monochrome, mask and image DCs, then their bitmaps, in that order.
  ~KeyedRegion();
  KeyedRegion(const KeyedRegion&) = delete;
  KeyedRegion& operator=(const KeyedRegion&) = delete;

  HDC MaskDc() const { return maskDc; }
  HDC ImageDc() const { return imageDc; }

 private:
  HDC monoDc;
  HBITMAP monoBitmap;
  HBITMAP maskBitmap;
  HDC maskDc;
  HDC imageDc;
  HBITMAP imageBitmap;
};
