// The 32 by 32 board tile: four grey 16 by 16 cells with a two-pixel bevel, raised at the
// top-left and bottom-right and sunken at the other two, so the tiled board is a
// checkerboard of raised and sunken cells.
#pragma once

#include "tools/art/color.h"
#include "tools/art/image.h"

namespace art {

inline constexpr int kBackgroundSize = 32;

Image DrawBackgroundTile();

}  // namespace art
