// What a program asks for when it creates a font, in LOGFONT's terms.
#pragma once

#include <cstddef>
#include <string>

#include "platform/gdi32/gdi32.h"

namespace win32::gdi {

// A font request in LOGFONT's terms, with the face name already in Unicode.
struct FontRequest {
  std::u16string face;
  int height = 0;  // > 0: cell height (ascent + descent); < 0: em height; 0: the default size; pixels
  int width = 0;   // average character width in pixels; 0 keeps the face's own proportions
  int weight = FW_DONTCARE;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charset = DEFAULT_CHARSET;
  int quality = DEFAULT_QUALITY;
  int pitchAndFamily = DEFAULT_PITCH;

  bool operator==(const FontRequest&) const = default;
};

struct FontRequestHash {
  std::size_t operator()(const FontRequest& r) const;
};

// The request that CreateFontIndirectA makes of a LOGFONTA (the face converted from CP932).
FontRequest RequestFromLogFont(const LOGFONTA& logfont);

}  // namespace win32::gdi
