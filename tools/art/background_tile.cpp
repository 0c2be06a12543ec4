#include "tools/art/background_tile.h"

#include <algorithm>

namespace art {
namespace {

constexpr int kCell = 16;
constexpr Rgb kFace{160, 160, 164};
constexpr Rgb kLightOuter{208, 208, 208};
constexpr Rgb kLightInner{192, 192, 192};
constexpr Rgb kDarkOuter{64, 64, 64};
constexpr Rgb kDarkInner{96, 96, 96};

// A bevelled cell. Each ring of the bevel has a lit side (top and left) and a shaded side
// (bottom and right); the shaded side owns the two corners where they meet, so the bottom row
// and right column run the full length, as Windows draws its 3-D edges.
void DrawCell(Image& image, int x0, int y0, bool raised) {
  const Rgb topLeft[2] = {raised ? kLightOuter : kDarkOuter, raised ? kLightInner : kDarkInner};
  const Rgb bottomRight[2] = {raised ? kDarkOuter : kLightOuter, raised ? kDarkInner : kLightInner};
  for (int y = 0; y < kCell; ++y) {
    for (int x = 0; x < kCell; ++x) {
      // Ring 0 is the outer edge, 1 the inner; 2 and beyond the face.
      const int fromTopLeft = std::min(x, y);
      const int fromBottomRight = std::min(kCell - 1 - x, kCell - 1 - y);
      Rgb colour = kFace;
      if (fromBottomRight < 2 && fromBottomRight <= fromTopLeft)
        colour = bottomRight[fromBottomRight];
      else if (fromTopLeft < 2)
        colour = topLeft[fromTopLeft];
      image.at(x0 + x, y0 + y) = Opaque(colour);
    }
  }
}

}  // namespace

Image DrawBackgroundTile() {
  Image tile(kBackgroundSize, kBackgroundSize);
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < 2; ++column) DrawCell(tile, column * kCell, row * kCell, row == column);
  return tile;
}

}  // namespace art
