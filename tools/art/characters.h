// The things on the board, each drawn on its 16 by 16 design grid at a placement: the snake's
// head, body cells and tail, the three pickups and the roamer.
#pragma once

#include "tools/art/figure.h"
#include "tools/art/image.h"

namespace art {

enum PickupKind { Grow3, Grow5, Shrink3 };

// A red ball with two eyes looking the way it faces.
void DrawHead(Image& image, const Placement& at);
// A magenta ball; ribbed across the way it faces when `ribbed`.
void DrawBodyCell(Image& image, const Placement& at, bool ribbed);
// A magenta drop, round towards the way it faces and pointed behind.
void DrawTail(Image& image, const Placement& at);
// A coloured ball with its number in white. The numbers are pixel glyphs: scale 1 only.
void DrawPickup(Image& image, const Placement& at, PickupKind kind);
// A black ball with two magenta eyes.
void DrawRoamer(Image& image, const Placement& at);

}  // namespace art
