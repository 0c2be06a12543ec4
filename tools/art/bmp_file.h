// Windows bitmap files (.bmp) with a colour table, as the resource compiler embeds them.
#pragma once

#include "tools/art/bytes.h"
#include "tools/art/indexed_image.h"

namespace art {

// bits is 1, 4 or 8; the image's palette must have 2^bits entries.
Bytes EncodeBmp(const IndexedImage& image, int bits);

}  // namespace art
