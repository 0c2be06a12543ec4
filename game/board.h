// The board's shared vocabulary: its size, directions, play states and pickup kinds.
#pragma once

#include <cstdint>

constexpr int BoardSize = 30;  // cells per side
constexpr int CellSize = 16;   // pixels per cell side in the frame
constexpr int MaxBody = 900;   // body cells the snake can have
constexpr int PickupCount = 10;
constexpr int RoamerCount = 3;
constexpr int StartInterval = 200;  // milliseconds between steps when a game starts

enum Direction : std::int32_t { Up = 0, Right = 1, Down = 2, Left = 3 };
enum PlayState : std::int32_t { Playing = 0, Paused = 1, GameOver = 2 };
enum PickupKind : std::int32_t { Grow3 = 0, Grow5 = 1, Shrink3 = 2 };
