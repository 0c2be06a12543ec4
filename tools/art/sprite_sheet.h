// The 64 by 64 sprite sheet: sixteen 16 by 16 tiles, each figure on flat key colour.
//   row 0: roamer, pickups Grow3, Grow5, Shrink3
//   row 1: heads     Up, Right, Down, Left
//   row 2: body cells Up, Right, Down, Left
//   row 3: tails      Up, Right, Down, Left
#pragma once

#include "tools/art/color.h"
#include "tools/art/image.h"

namespace art {

inline constexpr int kTile = 16;
inline constexpr int kSheetSize = 4 * kTile;
// The transparent colour: the game takes each tile's top-left pixel as its key.
inline constexpr Rgb kKey{0, 255, 255};

Image DrawSpriteSheet();

}  // namespace art
