#include "game/segment.h"

namespace {

// One step beyond the board on either side, so that a head that has left the board is
// still seen to have left it.
int ClampToBoardRing(int v) {
  if (v > BoardSize) return BoardSize;
  if (v < -1) return -1;
  return v;
}

}  // namespace

void Segment::Set(int newX, int newY, Direction newDir) {
  x = ClampToBoardRing(newX);
  y = ClampToBoardRing(newY);
  dir = newDir;
}

void Segment::Assign(int newX, int newY, Direction newDir) {
  x = newX;
  y = newY;
  dir = newDir;
}
