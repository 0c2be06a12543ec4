// StretchBlt: the source rectangle scaled onto the destination rectangle under the
// destination DC's stretch mode, then combined with the raster operation.
#include <cstdlib>
#include <iterator>
#include <vector>

#include "platform/gdi32/blit.h"
#include "platform/gdi32/handle_table.h"
#include "platform/gdi32/raster_ops.h"
#include "platform/gdi32/resampler.h"

using namespace win32::gdi;

namespace {

// Source rows, converted to the destination's format and scaled horizontally, kept for the
// next destination rows: enlarging reads each source row for several destination rows.
class ScaledRows {
 public:
  ScaledRows(const AxisMap& columns, const SourceConversion& conversion, const PixelView& source, bool snapshot)
      : columns_(columns), conversion_(conversion), source_(source) {
    first_ = columns.sourceMin;
    width_ = columns.sourceMax - columns.sourceMin + 1;
    staging_.resize(width_);
    snapshot_ = snapshot;
  }

  // Copies the source rows [top, bottom] first: the destination is the source's own surface.
  void TakeSnapshot(int top, int bottom) {
    snapshotTop_ = top;
    copy_.resize(std::size_t(width_) * (bottom - top + 1));
    for (int r = top; r <= bottom; ++r)
      std::copy(source_.Row(r) + first_, source_.Row(r) + first_ + width_,
                copy_.data() + std::size_t(width_) * (r - top));
  }

  const Pixel* Get(int sourceRow) {
    for (Entry& e : cache_)
      if (e.row == sourceRow) return e.pixels.data();
    Entry& e = cache_[next_];
    next_ = (next_ + 1) % std::size(cache_);
    e.row = sourceRow;
    e.pixels.resize(columns_.Count());
    const Pixel* in =
        snapshot_ ? copy_.data() + std::size_t(width_) * (sourceRow - snapshotTop_) : source_.Row(sourceRow) + first_;
    conversion_.Apply(in, staging_.data(), width_);
    ResampleRow(columns_, staging_.data(), first_, e.pixels.data());
    return e.pixels.data();
  }

 private:
  struct Entry {
    int row = -1;
    std::vector<Pixel> pixels;
  };
  const AxisMap& columns_;
  const SourceConversion& conversion_;
  PixelView source_;
  int first_ = 0;
  int width_ = 0;
  bool snapshot_ = false;
  int snapshotTop_ = 0;
  std::vector<Pixel> copy_;
  std::vector<Pixel> staging_;
  Entry cache_[4];
  std::size_t next_ = 0;
};

void Stretch(DeviceContext& dst, std::int64_t xDest, std::int64_t yDest, std::int64_t wDest, std::int64_t hDest,
             DeviceContext& src, std::int64_t xSrc, std::int64_t ySrc, std::int64_t wSrc, std::int64_t hSrc,
             unsigned index) {
  PixelView dv = ViewOf(dst);
  PixelView sv = ViewOf(src);
  Pixel pattern = 0;
  if (rop::UsesPattern(index) && !PatternPixel(dst, dv, pattern)) return;
  AxisMap columns = MapAxis(xDest, wDest, xSrc, wSrc, dv.width, sv.width, dst.stretchMode);
  AxisMap rows = MapAxis(yDest, hDest, ySrc, hSrc, dv.height, sv.height, dst.stretchMode);
  if (columns.Count() == 0 || rows.Count() == 0) return;

  SourceConversion conversion = ConversionFor(src, sv, dst, dv);
  ScaledRows scaled(columns, conversion, sv, sv.pixels == dv.pixels);
  if (sv.pixels == dv.pixels) scaled.TakeSnapshot(rows.sourceMin, rows.sourceMax);

  const int width = columns.Count();
  RowAccumulator accumulator;
  std::vector<Pixel> out(width);
  rop::RowFunction apply = rop::Row(index);
  for (int i = 0; i < rows.Count(); ++i) {
    accumulator.Reset(rows.combine, width);
    for (int k = rows.offsets[i]; k < rows.offsets[i + 1]; ++k)
      accumulator.Add(scaled.Get(rows.sources[k]), rows.weights[k]);
    accumulator.Finish(out.data());
    if (dv.mono)
      for (Pixel& p : out) p = NearestMono(p);  // averaging leaves greys that a mono bitmap cannot hold
    apply(dv.Row(rows.first + i) + columns.first, out.data(), pattern, width);
  }
}

}  // namespace

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop) {
  DeviceContext* dst = FindDC(hdcDest);
  if (!dst) return FALSE;
  unsigned index = rop::Index(rop);
  // Rectangles with a negative extent run from origin + extent to origin.
  auto low = [](int origin, int extent) { return extent < 0 ? std::int64_t{origin} + extent : std::int64_t{origin}; };
  auto size = [](int extent) { return std::llabs(extent); };
  if (!rop::UsesSource(index)) {
    if (wDest != 0 && hDest != 0)
      TransferRect(*dst, low(xDest, wDest), low(yDest, hDest), size(wDest), size(hDest), nullptr, 0, 0, index);
    return TRUE;
  }
  DeviceContext* src = FindDC(hdcSrc);
  if (!src) return FALSE;
  if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0) return TRUE;
  const bool sameShape =
      size(wDest) == size(wSrc) && size(hDest) == size(hSrc) && (wDest < 0) == (wSrc < 0) && (hDest < 0) == (hSrc < 0);
  if (sameShape) {
    // One to one is a plain transfer, in every stretch mode.
    TransferRect(*dst, low(xDest, wDest), low(yDest, hDest), size(wDest), size(hDest), src, low(xSrc, wSrc),
                 low(ySrc, hSrc), index);
    return TRUE;
  }
  Stretch(*dst, xDest, yDest, wDest, hDest, *src, xSrc, ySrc, wSrc, hSrc, index);
  return TRUE;
}
