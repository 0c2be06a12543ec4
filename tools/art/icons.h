// The program's icons: a short snake of four balls in a square for the large icon, the head
// alone for the small one.
#pragma once

#include "tools/art/image.h"

namespace art {

// size by size pixels on a transparent ground: three body balls running up the left, across
// the top and down into the head at the bottom right, which looks down. `smooth` shades
// continuously, for pictures that are drawn large and reduced.
Image DrawSnakeIcon(int size, bool smooth = false);

// 16 by 16: the head looking down.
Image DrawHeadIcon();

}  // namespace art
