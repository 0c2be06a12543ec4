#include "platform/gdi32/glyph_masks.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/gdi32/font_cache.h"
#include "platform/gdi32/pixel_kernels.h"

namespace win32::gdi {
namespace {

// Larger fonts are left to Qt: from an em of 64 pixels on, Qt fills glyph outlines instead of
// blending coverage images, which rounds differently. Stretched fonts are left to it too.
constexpr int kMaxMaskedEm = 56;

bool Maskable(const QFont& font) {
  const int stretch = font.stretch();
  return !font.underline() && !font.strikeOut() && font.pixelSize() > 0 && font.pixelSize() <= kMaxMaskedEm &&
         (stretch == QFont::AnyStretch || stretch == QFont::Unstretched);
}

bool Inked(Pixel p) { return (p & 0x00FFFFFFu) != 0; }

// A position in whole pixels and 64ths of a pixel (Qt places glyphs in 64ths).
struct Split {
  int whole;
  int sixtyFourths;
};
Split SplitPosition(double v) {
  const auto t = static_cast<long long>(std::llround(v * 64));
  const long long whole = t >= 0 ? t / 64 : -((-t + 63) / 64);
  return {static_cast<int>(whole), static_cast<int>(t - whole * 64)};
}

// One glyph drawn alone in white on black, at the given fractions of a pixel right of and
// below `margin` from the left and 2 * `margin` from the top, where ink reaching well
// outside the glyph's cell still lands; its coverage is any channel of the result.
// `scratch` is black on entry and on return.
std::unique_ptr<GlyphMask> Capture(QImage& scratch, int margin, const QGlyphRun& run, quint32 glyph, int x64,
                                   int y64) {
  QGlyphRun one = run;
  one.setGlyphIndexes({glyph});
  one.setPositions({QPointF(0, 0)});
  {
    QPainter painter(&scratch);
    painter.setPen(Qt::white);
    painter.drawGlyphRun(QPointF(margin + x64 / 64.0, 2 * margin + y64 / 64.0), one);
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
  auto mask = std::make_unique<GlyphMask>();
  if (right < 0) return mask;  // a space: no ink, nothing to blend
  mask->left = left - margin;
  mask->top = top - 2 * margin;
  // Rows of whole vectors: the padding has no coverage.
  const int inked = right - left + 1;
  mask->width = (inked + kWidestVector - 1) / kWidestVector * kWidestVector;
  mask->height = bottom - top + 1;
  mask->lanes.assign(std::size_t(mask->width) * mask->height * 2, 0);
  for (int y = top; y <= bottom; ++y) {
    auto* row = reinterpret_cast<Pixel*>(scratch.scanLine(y));
    std::uint16_t* lanes = &mask->lanes[std::size_t(y - top) * mask->width * 2];
    for (int x = left; x <= right; ++x) {
      lanes[2 * (x - left)] = lanes[2 * (x - left) + 1] = static_cast<std::uint16_t>((row[x] >> 8) & 0xFFu);
      row[x] = kBlack;
    }
  }
  return mask;
}

// A background with every channel varying, and a text colour unlike it, for the check.
Pixel TestBackground(int x, int y) {
  const unsigned v = static_cast<unsigned>(x) * 37u + static_cast<unsigned>(y) * 101u;
  return kOpaque | ((v * 7u) & 0xFFu) << 16 | ((v * 13u + 64u) & 0xFFu) << 8 | ((v * 3u + 128u) & 0xFFu);
}
constexpr Pixel kTestColor = 0xFF3C9AD2u;

// Whether the masks give the pixels Qt gives for the whole text.
bool SameAsQt(const RealizedFont& font, const LaidOutText& text) {
  const int margin = font.Height() + 8;
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
    for (const QGlyphRun& run : text.runs) painter.drawGlyphRun(QPointF(margin, margin) + text.Origin(font), run);
  }
  BlendGlyphMasks(text.masks, kTestColor, PixelView{reinterpret_cast<Pixel*>(byMasks.bits()), width, height, false},
                  margin, margin);
  return byQt == byMasks;
}

// Places the text's glyphs, drawing those the cache lacks. False when the cache let go of
// masks meanwhile (some placed ones may be gone), or a face failed its check.
bool Place(GlyphMaskCache& cache, const RealizedFont& font, const LaidOutText& text, GlyphMasks& masks,
           bool& unchecked) {
  const std::uint64_t generation = cache.Generation();
  const int margin = font.Height() + 8;
  QImage scratch;  // made when a glyph is first drawn
  const QPointF origin = text.Origin(font);
  masks.glyphs.clear();
  for (const QGlyphRun& run : text.runs) {
    const QRawFont face = run.rawFont();
    const GlyphMaskCache::Check check = cache.CheckOf(&font, face);
    if (check == GlyphMaskCache::Check::Failed) return false;
    unchecked = unchecked || check == GlyphMaskCache::Check::NotYet;
    const QList<quint32> indexes = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < indexes.size(); ++i) {
      const QPointF at = origin + positions[i];
      const Split x = SplitPosition(at.x());
      const Split y = SplitPosition(at.y());
      const GlyphMaskCache::Key key{&font, face, indexes[i], x.sixtyFourths, y.sixtyFourths};
      const GlyphMask* mask = cache.Find(key);
      if (!mask) {
        if (scratch.isNull()) {
          scratch = QImage(4 * margin, 3 * margin, QImage::Format_RGB32);
          scratch.fill(kBlack);
        }
        mask = cache.Keep(key, Capture(scratch, margin, run, indexes[i], x.sixtyFourths, y.sixtyFourths));
        if (cache.Generation() != generation) return false;
      }
      if (mask->width > 0) masks.glyphs.push_back({mask, x.whole + mask->left, y.whole + mask->top});
    }
  }
  return true;
}

void MakeGlyphMasks(GlyphMaskCache& cache, const RealizedFont& font, LaidOutText& text) {
  GlyphMasks& masks = text.masks;
  masks.glyphs.clear();
  masks.state = GlyphMasks::State::Unusable;
  masks.generation = cache.Generation();
  if (!Maskable(font.font)) return;

  // A second try starts with room in the cache; a text that does not fit even then is
  // left to Qt.
  bool unchecked = false;
  bool placed = Place(cache, font, text, masks, unchecked);
  if (!placed && masks.generation != cache.Generation()) {
    masks.generation = cache.Generation();
    placed = Place(cache, font, text, masks, unchecked) && masks.generation == cache.Generation();
  }
  if (!placed) {
    masks.glyphs.clear();
    return;
  }
  masks.state = GlyphMasks::State::Usable;
  if (!unchecked) return;

  // A face's first text: the masks must give Qt's own pixels, or the face is drawn by Qt.
  const bool same = SameAsQt(font, text);
  for (const QGlyphRun& run : text.runs) {
    GlyphMaskCache::Check& check = cache.CheckOf(&font, run.rawFont());
    if (check == GlyphMaskCache::Check::NotYet) check = same ? GlyphMaskCache::Check::Passed : GlyphMaskCache::Check::Failed;
  }
  if (!same) {
    masks.state = GlyphMasks::State::Unusable;
    masks.glyphs.clear();
  }
}

}  // namespace

std::size_t GlyphMaskCache::KeyHash::operator()(const Key& k) const {
  return std::hash<const RealizedFont*>{}(k.font) ^ qHash(k.face) ^ (std::size_t{k.glyph} * 0x9E3779B97F4A7C15ull) ^
         (std::size_t(k.x64) << 40) ^ (std::size_t(k.y64) << 48);
}

const GlyphMask* GlyphMaskCache::Find(const Key& key) const {
  auto it = masks_.find(key);
  return it == masks_.end() ? nullptr : it->second.get();
}

const GlyphMask* GlyphMaskCache::Keep(const Key& key, std::unique_ptr<GlyphMask> mask) {
  const std::size_t bytes = sizeof(GlyphMask) + mask->lanes.size() * sizeof(std::uint16_t);
  if (bytes_ + bytes > kBudgetBytes) {
    masks_.clear();
    bytes_ = 0;
    ++generation_;
  }
  bytes_ += bytes;
  auto& kept = masks_[key];
  kept = std::move(mask);
  return kept.get();
}

GlyphMaskCache::Check& GlyphMaskCache::CheckOf(const RealizedFont* font, const QRawFont& face) {
  for (auto& [key, check] : checks_)
    if (key.font == font && key.face == face) return check;
  Key key;
  key.font = font;
  key.face = face;
  return checks_.emplace_back(std::move(key), Check::NotYet).second;
}

void GlyphMaskCache::Clear() {
  masks_.clear();
  checks_.clear();
  bytes_ = 0;
  ++generation_;
}

const GlyphMasks& MasksOf(const RealizedFont& font, LaidOutText& text) {
  GlyphMaskCache& cache = TheGlyphMaskCache();
  if (text.masks.state == GlyphMasks::State::NotMade || text.masks.generation != cache.Generation())
    MakeGlyphMasks(cache, font, text);
  return text.masks;
}

void BlendGlyphMasks(const GlyphMasks& masks, Pixel color, const PixelView& view, int left, int top) {
  const auto blend = Kernels().blendCoverage;
  for (const GlyphMasks::Placed& placed : masks.glyphs) {
    const GlyphMask& g = *placed.mask;
    const std::int64_t x = std::int64_t{left} + placed.left;
    const std::int64_t y = std::int64_t{top} + placed.top;
    // The part of the mask inside the view.
    const std::int64_t fromX = std::max<std::int64_t>(0, -x);
    const std::int64_t fromY = std::max<std::int64_t>(0, -y);
    const std::int64_t toX = std::min<std::int64_t>(g.width, view.width - x);
    const std::int64_t toY = std::min<std::int64_t>(g.height, view.height - y);
    if (fromX >= toX || fromY >= toY) continue;
    for (std::int64_t row = fromY; row < toY; ++row)
      blend(view.Row(static_cast<int>(y + row)) + (x + fromX), g.lanes.data() + 2 * (row * g.width + fromX),
            static_cast<int>(toX - fromX), color);
  }
}

}  // namespace win32::gdi
