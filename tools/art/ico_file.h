// Icon files (.ico) holding 256-colour images, each with its AND mask.
#pragma once

#include <vector>

#include "tools/art/bytes.h"
#include "tools/art/indexed_image.h"

namespace art {

// Each image must be 8 bits per pixel (256 palette entries) and at most 256 pixels square;
// its transparent pixels get a set mask bit over palette index 0, which must be black.
Bytes EncodeIco(const std::vector<IndexedImage>& images);

}  // namespace art
