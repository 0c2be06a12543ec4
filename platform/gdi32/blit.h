// What BitBlt, PatBlt and StretchBlt share: the brush's pattern pixel, the colour ↔
// monochrome conversion of source pixels, and the clipped one-to-one transfer.
#pragma once

#include <cstdint>

#include "platform/gdi32/gdi_objects.h"

namespace win32::gdi {

// The pixel the DC's brush paints on `view`; false for the null (hollow) brush, which
// paints nothing.
bool PatternPixel(const DeviceContext& dc, const PixelView& view, Pixel& pattern);

// How source pixels become destination pixels when the two formats differ:
// colour → monochrome: the source DC's background colour gives 1 (white), all else 0;
// monochrome → colour: 0 gives the destination DC's text colour, 1 its background colour.
struct SourceConversion {
  enum class Kind { None, ColorToMono, MonoToColor } kind = Kind::None;
  Pixel key = 0;        // ColorToMono: the source's background colour
  Pixel zeroPixel = 0;  // MonoToColor: what black (0) becomes
  Pixel onePixel = 0;   // MonoToColor: what white (1) becomes

  void Apply(const Pixel* in, Pixel* out, int count) const;
};
SourceConversion ConversionFor(const DeviceContext& src, const PixelView& srcView, const DeviceContext& dst,
                               const PixelView& dstView);

// One axis of a rectangle given by origin and extent: a negative extent runs from
// origin + extent to origin.
struct Span {
  std::int64_t low;
  std::int64_t size;
};
constexpr Span SpanOf(int origin, int extent) {
  return extent < 0 ? Span{std::int64_t{origin} + extent, -std::int64_t{extent}} : Span{origin, extent};
}

// The one-to-one transfer of BitBlt, once the handles are checked: src is null when the
// operation does not use the source; cx and cy are positive.
void TransferRect(DeviceContext& dst, std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy,
                  DeviceContext* src, std::int64_t x1, std::int64_t y1, unsigned index);

}  // namespace win32::gdi
