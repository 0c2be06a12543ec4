#include "game/roamer.h"

#include "game/board.h"

namespace {

int ClampInsideRing(int v) {
  if (v >= BoardSize - 1) return BoardSize - 2;
  if (v <= 0) return 1;
  return v;
}

}  // namespace

void Roamer::Place(int newX, int newY) {
  x = ClampInsideRing(newX);
  y = ClampInsideRing(newY);
}
