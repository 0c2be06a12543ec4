// One cell of the snake: the head or a body cell.
#pragma once

#include <cstdint>

#include "game/board.h"

class Segment {
 public:
  // Stores x and y kept within -1 to 30, and dir as given; the active flag is untouched.
  void Set(int newX, int newY, Direction newDir);
  // Stores the three values without clamping; used to copy one cell's place to another.
  void Assign(int newX, int newY, Direction newDir);
  void SetActive(int value) { active = value; }
  // True when the cell is part of the snake and stands on (atX, atY).
  bool Occupies(int atX, int atY) const { return active != 0 && x == atX && y == atY; }

  int GetX() const { return x; }
  int GetY() const { return y; }
  Direction GetDir() const { return dir; }
  int GetActive() const { return active; }

 private:
  std::int32_t x;
  std::int32_t y;
  Direction dir;
  std::int32_t active;  // 0: not part of the snake; the head is 1, grown cells 2
};
