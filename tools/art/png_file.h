// PNG files without a compression library: 8-bit RGBA, the image data kept in stored
// (uncompressed) deflate blocks inside the zlib stream.
#pragma once

#include "tools/art/bytes.h"
#include "tools/art/image.h"

namespace art {

Bytes EncodePng(const Image& image);

}  // namespace art
