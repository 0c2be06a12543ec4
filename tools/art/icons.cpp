#include "tools/art/icons.h"

#include <algorithm>
#include <cmath>

#include "tools/art/characters.h"

namespace art {

Image DrawSnakeIcon(int size, bool smooth) {
  Image icon(size, size);
  const int half = size / 2;
  const double scale = half / kGrid;
  // Thin outlines at icon sizes; in a large picture about three quarters of a design unit.
  const int outline = std::max(1, static_cast<int>(std::lround(scale * 0.75)));
  auto at = [&](int column, int row, Direction facing) {
    return Placement{.x = column * half, .y = row * half, .scale = scale, .facing = facing, .outline = outline,
                     .smooth = smooth};
  };
  // Ribs need room: at half size they would only blur the balls.
  const bool ribbed = half >= 16;
  DrawBodyCell(icon, at(0, 1, Up), ribbed);
  DrawBodyCell(icon, at(0, 0, Right), ribbed);
  DrawBodyCell(icon, at(1, 0, Down), ribbed);
  DrawHead(icon, at(1, 1, Down));
  return icon;
}

Image DrawHeadIcon() {
  Image icon(16, 16);
  DrawHead(icon, Placement{.facing = Down});
  return icon;
}

}  // namespace art
