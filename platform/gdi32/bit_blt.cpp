// BitBlt and PatBlt.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi32/blit.h"
#include "platform/gdi32/handle_table.h"
#include "platform/gdi32/raster_ops.h"

namespace win32::gdi {

bool PatternPixel(const DeviceContext& dc, const PixelView& view, Pixel& pattern) {
  Brush* brush = FindBrush(dc.brush);
  if (!brush || brush->IsNull()) return false;
  pattern = view.Realize(brush->logbrush.lbColor);
  return true;
}

void SourceConversion::Apply(const Pixel* in, Pixel* out, int count) const {
  switch (kind) {
    case Kind::None:
      std::copy(in, in + count, out);
      break;
    case Kind::ColorToMono:
      for (int i = 0; i < count; ++i) out[i] = SameColor(in[i], key) ? kWhite : kBlack;
      break;
    case Kind::MonoToColor:
      for (int i = 0; i < count; ++i) out[i] = IsWhiteBit(in[i]) ? onePixel : zeroPixel;
      break;
  }
}

SourceConversion ConversionFor(const DeviceContext& src, const PixelView& srcView, const DeviceContext& dst,
                               const PixelView& dstView) {
  SourceConversion c;
  if (srcView.mono == dstView.mono) return c;
  if (dstView.mono) {
    c.kind = SourceConversion::Kind::ColorToMono;
    c.key = PixelFromColor(src.bkColor);
  } else {
    c.kind = SourceConversion::Kind::MonoToColor;
    c.zeroPixel = PixelFromColor(dst.textColor);
    c.onePixel = PixelFromColor(dst.bkColor);
  }
  return c;
}

void TransferRect(DeviceContext& dst, std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy,
                  DeviceContext* src, std::int64_t x1, std::int64_t y1, unsigned index) {
  PixelView dv = ViewOf(dst);
  Pixel pattern = 0;
  if (rop::UsesPattern(index) && !PatternPixel(dst, dv, pattern)) return;

  // The destination rectangle, clipped to the destination and (shifted) to the source.
  std::int64_t left = std::max<std::int64_t>(x, 0);
  std::int64_t top = std::max<std::int64_t>(y, 0);
  std::int64_t right = std::min<std::int64_t>(x + cx, dv.width);
  std::int64_t bottom = std::min<std::int64_t>(y + cy, dv.height);
  PixelView sv;
  std::int64_t dx = 0;
  std::int64_t dy = 0;  // source position minus destination position
  if (src) {
    sv = ViewOf(*src);
    dx = x1 - x;
    dy = y1 - y;
    left = std::max(left, -dx);
    top = std::max(top, -dy);
    right = std::min(right, sv.width - dx);
    bottom = std::min(bottom, sv.height - dy);
  }
  if (left >= right || top >= bottom) return;

  const int width = static_cast<int>(right - left);
  const int height = static_cast<int>(bottom - top);

  rop::BlockFunction block = rop::Block(index);
  Pixel* out = dv.Row(static_cast<int>(top)) + left;
  if (!src) {
    block(out, dv.width, nullptr, 0, pattern, width, height);
    return;
  }

  const Pixel* in = sv.Row(static_cast<int>(top + dy)) + (left + dx);
  const bool sameSurface = sv.pixels == dv.pixels;
  // Rows are taken straight from the source unless they need converting, or the source is
  // the destination's own surface shifted (rows of the two rectangles would overlap).
  if (sv.mono == dv.mono && (!sameSurface || (dx == 0 && dy == 0))) {
    block(out, dv.width, in, sv.width, pattern, width, height);
    return;
  }
  const SourceConversion conversion = ConversionFor(*src, sv, dst, dv);
  thread_local std::vector<Pixel> scratch;
  scratch.resize(width);
  // On one surface, rows go in the order that reads each source row before it is overwritten.
  const bool upward = sameSurface && dy < 0;
  for (int i = 0; i < height; ++i) {
    const int r = upward ? height - 1 - i : i;
    conversion.Apply(in + std::ptrdiff_t(r) * sv.width, scratch.data(), width);
    block(out + std::ptrdiff_t(r) * dv.width, 0, scratch.data(), 0, pattern, width, 1);
  }
}

}  // namespace win32::gdi

using namespace win32::gdi;

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  DeviceContext* dst = FindDC(hdc);
  if (!dst) return FALSE;
  unsigned index = rop::Index(rop);
  DeviceContext* src = nullptr;
  if (rop::UsesSource(index)) {
    src = FindDC(hdcSrc);
    if (!src) return FALSE;
  }
  // Zero and negative extents draw nothing.
  if (cx > 0 && cy > 0) TransferRect(*dst, x, y, cx, cy, src, x1, y1, index);
  return TRUE;
}

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  DeviceContext* dc = FindDC(hdc);
  unsigned index = rop::Index(rop);
  if (!dc || rop::UsesSource(index)) return FALSE;
  // PatBlt takes its rectangle from either corner.
  const Span across = SpanOf(x, w);
  const Span down = SpanOf(y, h);
  if (across.size > 0 && down.size > 0)
    TransferRect(*dc, across.low, down.low, across.size, down.size, nullptr, 0, 0, index);
  return TRUE;
}
