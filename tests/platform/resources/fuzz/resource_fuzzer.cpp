// libFuzzer target for the resource decoders: the input is decoded as a .res file (each
// resource by its type) and also directly by every decoder. Decoders must give a result or
// nothing for any input, and every pixel of a decoded DIB must be readable.
#include <cstddef>
#include <cstdint>

#include "platform/resources/dib.h"
#include "platform/resources/res_file.h"
#include "platform/resources/resource_formats.h"

namespace {

using namespace win32::res;

void TouchPixels(const PackedDib& dib) {
  std::uint32_t sum = 0;
  for (int y = 0; y < dib.height; ++y)
    for (int x = 0; x < dib.width; ++x) sum += dib.Pixel(x, y);
  // Keeps the reads from being optimised away.
  asm volatile("" : : "r"(sum));
}

void DecodeAs(WORD type, Bytes data, UINT stringId) {
  switch (type) {
    case 2:
      if (auto dib = ParsePackedDib(data, 1)) TouchPixels(*dib);
      break;
    case 3:
      DecodeIconImage(data);
      break;
    case 4:
      DecodeMenu(data);
      break;
    case 5:
      DecodeDialog(data);
      break;
    case 6:
      DecodeString(data, stringId);
      break;
    case 9:
      DecodeAccelerators(data);
      break;
    case 14:
      DecodeIconGroup(data);
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes bytes(reinterpret_cast<const std::byte*>(data), size);
  if (auto entries = ParseResFile(bytes)) {
    for (const ResourceEntry& e : *entries)
      if (e.type.isOrdinal) DecodeAs(e.type.ordinal, e.data, e.name.ordinal);
  }
  const UINT stringId = size > 0 ? data[0] : 0;
  for (WORD type : {2, 3, 4, 5, 6, 9, 14}) DecodeAs(type, bytes, stringId);
  return 0;
}
