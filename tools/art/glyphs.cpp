#include "tools/art/glyphs.h"

#include <array>
#include <stdexcept>
#include <string>

namespace art {
namespace {

constexpr int kHeight = 7;

struct Glyph {
  char character;
  std::array<std::string_view, kHeight> rows;  // '#' is ink
};

// Strokes one pixel wide; the edge around them makes them read as bold.
constexpr Glyph kGlyphs[] = {
    {'-', {"...",
           "...",
           "...",
           "###",
           "...",
           "...",
           "..."}},
    {'3', {"####.",
           "....#",
           "....#",
           ".###.",
           "....#",
           "....#",
           "####."}},
    {'5', {"#####",
           "#....",
           "#....",
           "####.",
           "....#",
           "#...#",
           ".###."}},
};

const Glyph& Find(char c) {
  for (const Glyph& glyph : kGlyphs)
    if (glyph.character == c) return glyph;
  throw std::invalid_argument(std::string("no glyph for '") + c + "'");
}

int GlyphWidth(const Glyph& glyph) { return static_cast<int>(glyph.rows[0].size()); }

template <typename Visit>
void ForEachInkPixel(int x, int y, std::string_view text, Visit visit) {
  for (char c : text) {
    const Glyph& glyph = Find(c);
    for (int row = 0; row < kHeight; ++row)
      for (int col = 0; col < GlyphWidth(glyph); ++col)
        if (glyph.rows[row][col] == '#') visit(x + col, y + row);
    x += GlyphWidth(glyph) + 1;
  }
}

}  // namespace

int TextWidth(std::string_view text) {
  int width = 0;
  for (char c : text) width += GlyphWidth(Find(c)) + 1;
  return width == 0 ? 0 : width - 1;
}

int TextHeight() { return kHeight; }

void DrawText(Image& image, int x, int y, std::string_view text, Rgb ink, Rgb edge) {
  auto put = [&](int px, int py, Rgb colour) {
    if (image.Contains(px, py)) image.at(px, py) = Opaque(colour);
  };
  ForEachInkPixel(x, y, text, [&](int px, int py) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) put(px + dx, py + dy, edge);
  });
  ForEachInkPixel(x, y, text, [&](int px, int py) { put(px, py, ink); });
}

}  // namespace art
