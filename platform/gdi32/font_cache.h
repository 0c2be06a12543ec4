// Realised fonts and laid-out texts, kept between calls: the game creates and deletes a
// font for each text it draws, so realising a face, shaping a string and turning its
// glyphs into coverage masks must be paid once, not on every frame. Both caches are bounded.
#pragma once

#include <QGlyphRun>
#include <QList>
#include <QPointF>
#include <string_view>

#include "platform/gdi32/font_mapper.h"
#include "platform/gdi32/glyph_masks.h"

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
  GlyphMasks masks;       // found when the text is drawn (see MasksOf)

  // Where the runs are drawn from, relative to the top-left corner of the text's cell box:
  // the line's baseline on the font's.
  QPointF Origin(const RealizedFont& font) const { return QPointF(0, font.ascent - lineAscent); }
};

// The realised font for a request, or null when Qt cannot be used (no application). The
// pointer is valid until the next call into this header.
const RealizedFont* Realize(const FontRequest& request);

// `text` (code page 932 bytes) laid out in a font that Realize returned. The pointer is
// valid until the next call into this header.
LaidOutText* LayOut(const RealizedFont& font, std::string_view text);

// The glyph masks of the realised fonts; they go with the fonts.
GlyphMaskCache& TheGlyphMaskCache();

}  // namespace win32::gdi
