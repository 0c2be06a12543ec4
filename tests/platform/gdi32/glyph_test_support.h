// Helpers for the glyph mask tests: texts drawn from their masks against Qt's painter.
#pragma once

#include <QImage>
#include <QPainter>
#include <random>

#include "platform/gdi32/font_cache.h"

namespace gdi_test {

// An opaque picture of random pixels, drawn row by row from `random`.
inline QImage RandomImage(int width, int height, std::mt19937& random) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<win32::gdi::Pixel*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) row[x] = 0xFF000000u | (random() & 0xFFFFFFu);
  }
  return image;
}

// Qt's painter and the text's glyph masks each draw `text` in `ink` on a copy of
// `background`, the text's cell box at (left, top); true when both give the same pixels.
inline bool MasksDrawLikeQt(const win32::gdi::RealizedFont& font, const win32::gdi::LaidOutText& text,
                            win32::gdi::Pixel ink, const QImage& background, int left, int top) {
  QImage byQt = background.copy();
  QImage byMasks = background.copy();
  {
    QPainter painter(&byQt);
    painter.setPen(QColor::fromRgb(ink));
    for (const QGlyphRun& run : text.runs) painter.drawGlyphRun(QPointF(left, top) + text.Origin(font), run);
  }
  win32::gdi::BlendGlyphMasks(
      text.masks, ink, {reinterpret_cast<win32::gdi::Pixel*>(byMasks.bits()), byMasks.width(), byMasks.height(), false},
      left, top);
  return byQt == byMasks;
}

}  // namespace gdi_test
