#include "game/pickup.h"

#include <cstdlib>

void Pickup::Respawn() {
  x = std::rand() % BoardSize;
  y = std::rand() % BoardSize;
  switch (std::rand() % 5) {
    case 0:
    case 1:
      kind = Grow3;
      break;
    case 2:
    case 3:
      kind = Grow5;
      break;
    default:
      kind = Shrink3;
      break;
  }
}
