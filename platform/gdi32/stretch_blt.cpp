// StretchBlt: the source rectangle scaled onto the destination rectangle under the
// destination DC's stretch mode, then combined with the raster operation.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi32/blit.h"
#include "platform/gdi32/handle_table.h"
#include "platform/gdi32/raster_ops.h"
#include "platform/gdi32/resampler.h"
#include "platform/gdi32/stretch_plan.h"

using namespace win32::gdi;

namespace {

// Source rows, converted to the destination's format and scaled to the destination's width,
// kept for the destination rows that follow: enlarging reads each source row for several
// destination rows, and each is scaled once.
class ScaledRows {
 public:
  // Keeps `capacity` (at least 2) scaled rows, dropping the one asked for least recently.
  ScaledRows(const RowScaler& scaler, const AxisMap& columns, const SourceConversion& conversion,
             const PixelView& source, int capacity)
      : scaler_(scaler),
        conversion_(conversion),
        source_(source),
        first_(columns.sourceMin),
        width_(columns.sourceMax - columns.sourceMin + 1),
        pitch_(scaler.PaddedWidth()),
        entries_(capacity),
        pixels_(std::size_t(capacity) * pitch_) {
    if (conversion.kind != SourceConversion::Kind::None) staging_.resize(width_);
  }

  // Copies the source rows [top, bottom] first: the destination is the source's own surface.
  void TakeSnapshot(int top, int bottom) {
    snapshotTop_ = top;
    snapshot_.resize(std::size_t(width_) * (bottom - top + 1));
    for (int r = top; r <= bottom; ++r)
      std::copy_n(source_.Row(r) + first_, width_, snapshot_.data() + std::size_t(width_) * (r - top));
  }

  // The scaled pixels of a source row. They stay in place while fewer than `capacity` other
  // rows are asked for.
  const Pixel* Get(int sourceRow) {
    ++clock_;
    Entry* victim = &entries_[0];
    for (Entry& e : entries_) {
      if (e.row == sourceRow) {
        e.used = clock_;
        return Pixels(e);
      }
      if (e.used < victim->used) victim = &e;
    }
    victim->row = sourceRow;
    victim->used = clock_;
    const Pixel* in = snapshot_.empty() ? source_.Row(sourceRow) + first_
                                        : snapshot_.data() + std::size_t(width_) * (sourceRow - snapshotTop_);
    if (!staging_.empty()) {
      conversion_.Apply(in, staging_.data(), width_);
      in = staging_.data();
    }
    scaler_.Scale(in, Pixels(*victim));
    return Pixels(*victim);
  }

 private:
  struct Entry {
    int row = -1;
    std::uint64_t used = 0;
  };
  Pixel* Pixels(const Entry& e) { return pixels_.data() + std::size_t(&e - entries_.data()) * pitch_; }

  const RowScaler& scaler_;
  const SourceConversion& conversion_;
  PixelView source_;
  int first_;
  int width_;
  int pitch_;
  std::vector<Entry> entries_;
  std::vector<Pixel> pixels_;
  std::vector<Pixel> staging_;  // converted source pixels
  std::vector<Pixel> snapshot_;
  int snapshotTop_ = 0;
  std::uint64_t clock_ = 0;
};

void Stretch(DeviceContext& dst, std::int64_t xDest, std::int64_t yDest, std::int64_t wDest, std::int64_t hDest,
             DeviceContext& src, std::int64_t xSrc, std::int64_t ySrc, std::int64_t wSrc, std::int64_t hSrc,
             unsigned index) {
  PixelView dv = ViewOf(dst);
  PixelView sv = ViewOf(src);
  Pixel pattern = 0;
  if (rop::UsesPattern(index) && !PatternPixel(dst, dv, pattern)) return;
  const StretchGeometry geometry{xDest, yDest,    wDest,     hDest,    xSrc,      ySrc,           wSrc,
                                 hSrc,  dv.width, dv.height, sv.width, sv.height, dst.stretchMode};
  const StretchPlan& plan = PlanFor(geometry);
  const AxisMap& columns = plan.columns;
  const AxisMap& rows = plan.rows;
  if (columns.Count() == 0 || rows.Count() == 0) return;

  SourceConversion conversion = ConversionFor(src, sv, dst, dv);
  const RowScaler& scaler = plan.scaler;
  // Two rows at hand for the rows combined in one pass, and two more so that rows shared
  // by neighbouring destination rows survive (mirrored maps ask for them in reverse).
  ScaledRows scaled(scaler, columns, conversion, sv, 4);
  if (sv.pixels == dv.pixels) scaled.TakeSnapshot(rows.sourceMin, rows.sourceMax);

  const int width = columns.Count();
  RowCombiner combiner(plan.kernels, rows.combine, width);
  // A plain copy onto colour pixels writes the combined rows in place; anything else
  // combines into rows of its own (two at most at a time) and then applies the raster
  // operation.
  const bool direct = index == rop::kSrcCopy && !dv.mono;
  std::vector<Pixel> combined(direct ? 0 : 2 * std::size_t(width));
  rop::BlockFunction apply = rop::Block(index);
  auto target = [&](int i, int which) {
    return direct ? dv.Row(rows.first + i) + columns.first : combined.data() + std::size_t(which) * width;
  };
  auto finish = [&](int i, int which) {
    if (direct) return;
    Pixel* row = combined.data() + std::size_t(which) * width;
    if (dv.mono)
      for (int x = 0; x < width; ++x) row[x] = NearestMono(row[x]);  // averaging leaves greys a mono bitmap cannot hold
    apply(dv.Row(rows.first + i) + columns.first, 0, row, 0, pattern, width, 1);
  };
  const int* offsets = rows.offsets.data();
  const int* sources = rows.sources.data();
  const int* weights = rows.weights.data();
  for (int i = 0; i < rows.Count(); ++i) {
    const int begin = offsets[i];
    const int end = offsets[i + 1];
    if (end - begin == 1) {
      combiner.Copy(scaled.Get(sources[begin]), target(i, 0));
    } else if (end - begin == 2) {
      const Pixel* upper = scaled.Get(sources[begin]);
      const Pixel* lower = scaled.Get(sources[begin + 1]);
      const bool twice = rows.combine == Combine::Weighted && i + 1 < rows.Count() && offsets[i + 2] - end == 2 &&
                         sources[end] == sources[begin] && sources[end + 1] == sources[begin + 1];
      if (twice) {
        combiner.Blend2Twice(upper, lower, weights + begin, target(i, 0), target(i + 1, 1));
        finish(i, 0);
        finish(++i, 1);
        continue;
      }
      combiner.Combine2(upper, weights[begin], lower, weights[begin + 1], target(i, 0));
    } else {
      combiner.Reset();
      for (int k = begin; k < end; ++k) combiner.Add(scaled.Get(sources[k]), weights[k]);
      combiner.Finish(target(i, 0));
    }
    finish(i, 0);
  }
}

}  // namespace

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop) {
  DeviceContext* dst = FindDC(hdcDest);
  if (!dst) return FALSE;
  unsigned index = rop::Index(rop);
  const Span destX = SpanOf(xDest, wDest);
  const Span destY = SpanOf(yDest, hDest);
  if (!rop::UsesSource(index)) {
    if (wDest != 0 && hDest != 0)
      TransferRect(*dst, destX.low, destY.low, destX.size, destY.size, nullptr, 0, 0, index);
    return TRUE;
  }
  DeviceContext* src = FindDC(hdcSrc);
  if (!src) return FALSE;
  if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0) return TRUE;
  const Span srcX = SpanOf(xSrc, wSrc);
  const Span srcY = SpanOf(ySrc, hSrc);
  const bool sameShape =
      destX.size == srcX.size && destY.size == srcY.size && (wDest < 0) == (wSrc < 0) && (hDest < 0) == (hSrc < 0);
  if (sameShape) {
    // One to one is a plain transfer, in every stretch mode.
    TransferRect(*dst, destX.low, destY.low, destX.size, destY.size, src, srcX.low, srcY.low, index);
    return TRUE;
  }
  Stretch(*dst, xDest, yDest, wDest, hDest, *src, xSrc, ySrc, wSrc, hSrc, index);
  return TRUE;
}
