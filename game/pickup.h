// A numbered ball on the board that changes the snake's length when eaten.
#pragma once

#include <cstdint>

#include "game/board.h"
#include "game/segment.h"

class Pickup {
 public:
  // Moves to a random cell with a random kind (Grow3 : Grow5 : Shrink3 = 2 : 2 : 1).
  void Respawn();
  bool At(int atX, int atY) const { return x == atX && y == atY; }
  bool AtSegment(const Segment& segment) const { return At(segment.GetX(), segment.GetY()); }

  int GetX() const { return x; }
  int GetY() const { return y; }
  PickupKind GetKind() const { return kind; }

 private:
  std::int32_t x;
  std::int32_t y;
  PickupKind kind;
};
