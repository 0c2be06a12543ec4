// PNG files without a compression library: 8-bit RGBA, the image data kept in stored
// (uncompressed) deflate blocks inside the zlib stream.
#pragma once

#include <cstdint>

#include "tools/art/bytes.h"
#include "tools/art/image.h"

namespace art {

Bytes EncodePng(const Image& image);

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0);
std::uint32_t Adler32(const Bytes& data);

}  // namespace art
