// A black ball that wanders the board and ends the game when the head runs into it.
#pragma once

#include <cstdint>

class Roamer {
 public:
  // Stores x and y kept within 1 to 28: a roamer never stands on the outermost ring.
  void Place(int newX, int newY);
  void Move(int dx, int dy) { Place(x + dx, y + dy); }
  bool At(int atX, int atY) const { return x == atX && y == atY; }

  int GetX() const { return x; }
  int GetY() const { return y; }

 private:
  std::int32_t x;
  std::int32_t y;
};
