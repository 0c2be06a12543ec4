// A laid-out text's glyphs kept as the coverage Qt gives each of them, so that drawing the
// text again is a blend of a few small masks into the pixels, with no painter at all.
//
// Qt's raster engine draws a text glyph by glyph, each one blended in its own place:
// pixel = colour * c + pixel * (1 - c) for the glyph's coverage c, each term rounded to the
// nearest 1/255. The masks hold exactly those coverages, taken from Qt drawing each glyph on
// its own; before a text's masks are used, blending them is checked against Qt drawing the
// whole text, so a text is always drawn with the very pixels Qt would give.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gdi32/pixel.h"

namespace win32::gdi {

struct RealizedFont;
struct LaidOutText;

struct GlyphMask {
  int left = 0;  // relative to the top-left corner of the text's cell box
  int top = 0;
  int width = 0;  // whole vectors: the pixels right of the ink have no coverage
  int height = 0;
  // Each pixel's coverage (0 to 255) twice, once for each 16-bit lane of the pixel.
  std::vector<std::uint16_t> lanes;
};

struct GlyphMasks {
  enum class State { NotMade, Usable, Unusable } state = State::NotMade;
  std::vector<GlyphMask> glyphs;  // in drawing order
};

// Makes the masks of `text` in `font` (with the Qt application there), and checks them.
// Texts that Qt draws otherwise than glyph by glyph (underlined or struck out ones, very
// large ones) get masks marked Unusable.
void MakeGlyphMasks(const RealizedFont& font, LaidOutText& text);

// Blends usable masks in `color` into `view`, with the text's cell box at (left, top), which
// must not be left of or above the view's origin: Qt rounds glyph positions symmetrically
// about zero, so a mask moved to negative coordinates would not always land where Qt puts it.
void BlendGlyphMasks(const GlyphMasks& masks, Pixel color, const PixelView& view, int left, int top);

}  // namespace win32::gdi
