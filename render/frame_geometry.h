// Where things are in the 640 by 480 frame.
#pragma once

#include "game/board.h"

constexpr int FrameWidth = 640;
constexpr int FrameHeight = 480;
constexpr int BoardPixels = BoardSize * CellSize;  // the board fills x 0 to 479
constexpr int PanelX = BoardPixels;                // the panel strip: x 480 to 639
constexpr int PanelWidth = FrameWidth - PanelX;
constexpr int TileSize = 32;   // the board's background tile
constexpr int SheetSize = 64;  // the sprite sheet: 4 by 4 tiles of one cell each
