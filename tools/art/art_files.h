// Every art file of the game, encoded, under the name it has in resources/.
#pragma once

#include <string>
#include <vector>

#include "tools/art/bytes.h"
#include "tools/art/image.h"

namespace art {

struct ArtFile {
  std::string name;
  Bytes bytes;
};

std::vector<ArtFile> GenerateArtFiles();

// A corner of the board as the game composes it: background tiles with a snake, pickups and
// a roamer over them, the key colour left out. For looking at the art, not shipped.
Image DrawMockBoard();

}  // namespace art
