#include "tools/art/sprite_sheet.h"

#include "tools/art/characters.h"

namespace art {

Image DrawSpriteSheet() {
  Image sheet(kSheetSize, kSheetSize, Opaque(kKey));
  auto tile = [](int column, int row, Direction facing = Up) {
    return Placement{.x = column * kTile, .y = row * kTile, .facing = facing};
  };

  DrawRoamer(sheet, tile(0, 0));
  for (PickupKind kind : {Grow3, Grow5, Shrink3}) DrawPickup(sheet, tile(1 + kind, 0), kind);
  for (Direction d : {Up, Right, Down, Left}) {
    DrawHead(sheet, tile(d, 1, d));
    DrawBodyCell(sheet, tile(d, 2, d), true);
    DrawTail(sheet, tile(d, 3, d));
  }
  return sheet;
}

}  // namespace art
