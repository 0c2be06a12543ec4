// A 12 by 10 figure on a key-colour ground, with the pixels that masking gets wrong most
// easily: pure black inside the figure, a key-colour hole in it, and a colour one step
// away from the key.
#pragma once

#include "tests/render/canvas.h"

namespace render_test {

constexpr int PatternWidth = 12;
constexpr int PatternHeight = 10;
constexpr Rgb PatternKey = RgbOf(0, 255, 255);

inline Rgb PatternAt(int x, int y) {
  if (x < 2 || y < 2 || x >= PatternWidth - 2 || y >= PatternHeight - 2) return PatternKey;
  if (x == 4 && y == 4) return RgbOf(0, 0, 0);
  if (x == 6 && y == 5) return PatternKey;
  if (x == 7 && y == 3) return RgbOf(0, 255, 254);
  return RgbOf(20 * x, 100 + y, 15 * y + 3);
}

// Backgrounds a sprite is drawn over; each differs from the figure at every pixel.
struct Background {
  const char* name;
  Rgb (*at)(int x, int y);
};
inline const Background Backgrounds[] = {
    {"black", [](int, int) { return RgbOf(0, 0, 0); }},
    {"white", [](int, int) { return RgbOf(255, 255, 255); }},
    {"key colour", [](int, int) { return PatternKey; }},
    {"pattern", [](int x, int y) { return RgbOf((x * 37) & 0xFF, (y * 53) & 0xFF, ((x + y) * 11 + 1) & 0xFF); }},
};

}  // namespace render_test
