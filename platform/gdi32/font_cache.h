// Realised fonts and laid-out texts, kept between calls: the game creates and deletes a
// font for each text it draws, so realising a face and shaping a string must be paid once,
// not on every frame. Both caches are bounded.
#pragma once

#include <QGlyphRun>
#include <QList>
#include <string>

#include "platform/gdi32/font_mapper.h"

namespace win32::gdi {

// A font as GDI reports it: ascent + descent is the cell height (tmHeight).
struct RealizedFont {
  QFont font;
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  bool fixedPitch = false;

  int Height() const { return ascent + descent; }
};

struct LaidOutText {
  QList<QGlyphRun> runs;  // glyph positions relative to the line's top-left corner
  double lineAscent = 0;  // where the runs' baseline lies below that corner
  int width = 0;          // the advance of the whole text
};

// The realised font for a request, or null when Qt cannot be used (no application). The
// pointer is valid until the next call into this header.
const RealizedFont* Realize(const FontRequest& request);

// `text` laid out in the realised font of `request`. The pointer is valid until the next
// call into this header.
const LaidOutText* LayOut(const FontRequest& request, const RealizedFont& font, const std::u16string& text);

}  // namespace win32::gdi
