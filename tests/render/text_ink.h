// Reading texts back from pixels: a text drawn alone with GDI gives its ink, which is then
// looked for in a frame.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/render/canvas.h"

namespace render_test {

struct TextStyle {
  int height;
  bool bold;
  bool italic;
};

// A text's coverage (0 to 255) at each pixel when drawn alone, its top-left corner at
// (Margin, Margin) of the ink, and the pixels that it covers fully in its colour.
struct TextInk {
  static constexpr int Margin = 6;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // white text on black
  std::vector<bool> solid;             // in its colour both on black and on white
  int At(int x, int y) const {
    return x < 0 || y < 0 || x >= width || y >= height ? 0 : coverage[static_cast<std::size_t>(y) * width + x];
  }
  bool SolidAt(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height && solid[static_cast<std::size_t>(y) * width + x];
  }
};

// The text drawn with the panel's font ("ＭＳ Ｐゴシック", Shift-JIS) in this style and colour.
// A smoothed edge blends the text's colour with what lies under it, and how depends on the
// colour: Windows (and Wine after it) blends each channel along a curve of its own, which
// the coverage of white text does not tell. A pixel that shows the colour over black and
// over white shows it over anything, so those are the solid ones.
TextInk InkOf(const char* text, const TextStyle& style, Rgb colour);

struct InkMatch {
  double recall = 0;     // of the ink's solid pixels, the share that shows the colour
  double precision = 0;  // of the pixels showing the colour near the ink, the share on the ink
  int found = 0;         // pixels showing the colour near the ink
};

// Looks for the ink, placed with its text's corner at (x, y), in the pixels of `colour`.
InkMatch MatchInk(const Canvas& frame, const TextInk& ink, int x, int y, Rgb colour);

// The offset (each coordinate 0 to 3) from (x, y) at which the visible pixels of `colour`
// (a shadow under a main copy at (x, y)) best fit the ink, and how well: the share of them
// on the ink there.
struct ShadowFit {
  int dx = -1;
  int dy = -1;
  double share = 0;
};
ShadowFit FitShadow(const Canvas& frame, const TextInk& ink, int x, int y, Rgb colour);

}  // namespace render_test
