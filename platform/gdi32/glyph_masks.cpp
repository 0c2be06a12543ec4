#include "platform/gdi32/glyph_masks.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/gdi32/font_cache.h"
#include "platform/gdi32/simd.h"

namespace win32::gdi {
namespace {

// Taller texts keep being drawn by Qt: the scratch images would be large, and Qt may draw
// big glyphs as outlines rather than as coverage images.
constexpr int kMaxMaskedHeight = 128;

// round(x * a / 255) for each 8-bit channel of x, two channels to a word.
inline Pixel Scale255(Pixel x, std::uint32_t a) {
  std::uint32_t even = (x & 0x00FF00FFu) * a;
  even = ((even + ((even >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
  std::uint32_t odd = ((x >> 8) & 0x00FF00FFu) * a;
  odd = (odd + ((odd >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
  return even | odd;
}

// The same in 16-bit lanes, a channel to a lane.
inline simd::Lanes8 Scale255(simd::Lanes8 x, simd::Lanes8 a) {
  const simd::Lanes8 t = x * a;
  return (t + (t >> 8) + 0x80) >> 8;
}

// A text colour, ready for blending.
struct Ink {
  explicit Ink(Pixel c)
      : color(c), even(simd::EvenBytes(simd::Pixels4{} + c)), odd(simd::OddBytes(simd::Pixels4{} + c)) {}
  Pixel color;
  simd::Lanes8 even;
  simd::Lanes8 odd;
};

// Blends `count` pixels of one mask row. Whole vectors are blended four pixels at a time;
// pixels of no coverage come out as they were, so the padding of a mask row does no harm.
void BlendRow(Pixel* out, const std::uint16_t* lanes, int count, const Ink& ink) {
  using simd::Lanes8;
  using simd::Pixels4;
  int x = 0;
  for (; x + simd::kPixelsPerVector <= count; x += simd::kPixelsPerVector) {
    const Lanes8 cover = simd::Load<Lanes8>(lanes + 2 * x);
    std::uint64_t halves[2];
    std::memcpy(halves, &cover, sizeof halves);
    if ((halves[0] | halves[1]) == 0) continue;  // nothing of the glyph here
    const Pixels4 d = simd::Load<Pixels4>(out + x);
    const Lanes8 keep = 255 - cover;
    const Lanes8 even = Scale255(ink.even, cover) + Scale255(simd::EvenBytes(d), keep);
    const Lanes8 odd = Scale255(ink.odd, cover) + Scale255(simd::OddBytes(d), keep);
    simd::Store(out + x, reinterpret_cast<Pixels4>(even) | (reinterpret_cast<Pixels4>(odd) << 8));
  }
  for (; x < count; ++x) {
    const std::uint32_t c = lanes[2 * x];
    if (c != 0) out[x] = Scale255(ink.color, c) + Scale255(out[x], 255 - c);
  }
}

bool Inked(Pixel p) { return (p & 0x00FFFFFFu) != 0; }

// One glyph drawn alone in white on black: its coverage is any channel of the result.
// `scratch` is black on entry and on return.
void Capture(QImage& scratch, const QGlyphRun& glyph, QPointF at, QPoint toCell, std::vector<GlyphMask>& out) {
  {
    QPainter painter(&scratch);
    painter.setPen(Qt::white);
    painter.drawGlyphRun(at, glyph);
  }
  int left = scratch.width(), top = scratch.height(), right = -1, bottom = -1;
  for (int y = 0; y < scratch.height(); ++y) {
    const auto* row = reinterpret_cast<const Pixel*>(scratch.constScanLine(y));
    for (int x = 0; x < scratch.width(); ++x) {
      if (!Inked(row[x])) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return;  // a space
  GlyphMask mask;
  mask.left = left + toCell.x();
  mask.top = top + toCell.y();
  // Rows of whole vectors: the padding has no coverage.
  const int inked = right - left + 1;
  mask.width = (inked + simd::kPixelsPerVector - 1) / simd::kPixelsPerVector * simd::kPixelsPerVector;
  mask.height = bottom - top + 1;
  mask.lanes.assign(std::size_t(mask.width) * mask.height * 2, 0);
  for (int y = top; y <= bottom; ++y) {
    auto* row = reinterpret_cast<Pixel*>(scratch.scanLine(y));
    std::uint16_t* lanes = &mask.lanes[std::size_t(y - top) * mask.width * 2];
    for (int x = left; x <= right; ++x) {
      lanes[2 * (x - left)] = lanes[2 * (x - left) + 1] = static_cast<std::uint16_t>((row[x] >> 8) & 0xFFu);
      row[x] = kBlack;
    }
  }
  out.push_back(std::move(mask));
}

// A background with every channel varying, and a text colour unlike it, for the check.
Pixel TestBackground(int x, int y) {
  const unsigned v = static_cast<unsigned>(x) * 37u + static_cast<unsigned>(y) * 101u;
  return kOpaque | ((v * 7u) & 0xFFu) << 16 | ((v * 13u + 64u) & 0xFFu) << 8 | ((v * 3u + 128u) & 0xFFu);
}
constexpr Pixel kTestColor = 0xFF3C9AD2u;

}  // namespace

void MakeGlyphMasks(const RealizedFont& font, LaidOutText& text) {
  GlyphMasks& masks = text.masks;
  masks.glyphs.clear();
  masks.state = GlyphMasks::State::Unusable;
  // Decorations are lines across the text, not glyphs.
  if (font.font.underline() || font.font.strikeOut() || font.Height() > kMaxMaskedHeight) return;

  // Each glyph is drawn near the top-left of a scratch image, `margin` in from its edges,
  // where ink reaching well outside the glyph's cell still lands.
  const int margin = font.Height() + 8;
  QImage scratch(4 * margin, 3 * margin, QImage::Format_RGB32);
  scratch.fill(kBlack);
  const QPointF origin = text.Origin(font);
  for (const QGlyphRun& run : text.runs) {
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < indexes.size(); ++i) {
      QGlyphRun glyph = run;
      glyph.setGlyphIndexes({indexes[i]});
      glyph.setPositions({positions[i]});
      // Whole pixels move the glyph, so its fraction of a pixel stays what it is in the text.
      const int shift = static_cast<int>(std::floor(positions[i].x()));
      Capture(scratch, glyph, origin + QPointF(margin - shift, margin), QPoint(shift - margin, -margin), masks.glyphs);
    }
  }

  // The check: the whole text drawn by Qt and by the masks, on a varied background.
  const int width = text.width + 2 * margin + font.Height();
  const int height = font.Height() + 2 * margin;
  QImage byQt(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<Pixel*>(byQt.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = TestBackground(x, y);
  }
  QImage byMasks = byQt.copy();
  {
    QPainter painter(&byQt);
    painter.setPen(QColor::fromRgb(kTestColor));
    for (const QGlyphRun& run : text.runs) painter.drawGlyphRun(origin + QPointF(margin, margin), run);
  }
  BlendGlyphMasks(masks, kTestColor,
                  PixelView{reinterpret_cast<Pixel*>(byMasks.bits()), width, height, false}, margin, margin);
  masks.state = byQt == byMasks ? GlyphMasks::State::Usable : GlyphMasks::State::Unusable;
  if (masks.state == GlyphMasks::State::Unusable) masks.glyphs.clear();
}

void BlendGlyphMasks(const GlyphMasks& masks, Pixel color, const PixelView& view, int left, int top) {
  const Ink ink(color);
  for (const GlyphMask& g : masks.glyphs) {
    const std::int64_t x = std::int64_t{left} + g.left;
    const std::int64_t y = std::int64_t{top} + g.top;
    // The part of the mask inside the view.
    const std::int64_t fromX = std::max<std::int64_t>(0, -x);
    const std::int64_t fromY = std::max<std::int64_t>(0, -y);
    const std::int64_t toX = std::min<std::int64_t>(g.width, view.width - x);
    const std::int64_t toY = std::min<std::int64_t>(g.height, view.height - y);
    if (fromX >= toX || fromY >= toY) continue;
    for (std::int64_t row = fromY; row < toY; ++row)
      BlendRow(view.Row(static_cast<int>(y + row)) + (x + fromX), g.lanes.data() + 2 * (row * g.width + fromX),
               static_cast<int>(toX - fromX), ink);
  }
}

}  // namespace win32::gdi
