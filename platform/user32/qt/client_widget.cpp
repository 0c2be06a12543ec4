#include "platform/user32/qt/client_widget.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>
#include <cstring>

#include "platform/user32/qt/widget_binding.h"

namespace win32::user32 {

ClientWidget::ClientWidget(HWND hwnd, std::shared_ptr<gdi::PixelBuffer> buffer, QWidget* parent)
    : QWidget(parent), buffer_(std::move(buffer)) {
  BindWidget(this, hwnd);
  // Every pixel comes from the buffer: Qt need not clear anything first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
}

void ClientWidget::SetScale(double scale, bool smooth) {
  if (scale == scale_ && smooth == smooth_) return;
  scale_ = scale;
  smooth_ = smooth;
  update();
}

QRect ClientWidget::ToWidget(const QRect& area) const {
  if (scale_ == 1) return area;
  // Every widget pixel that shows part of the area (and, smoothed, its neighbours' blend).
  int margin = smooth_ ? 1 : 0;
  int left = static_cast<int>(std::floor(area.left() * scale_)) - margin;
  int top = static_cast<int>(std::floor(area.top() * scale_)) - margin;
  int right = static_cast<int>(std::ceil((area.right() + 1) * scale_)) + margin;
  int bottom = static_cast<int>(std::ceil((area.bottom() + 1) * scale_)) + margin;
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

namespace {

// The pixels compared at once: a change anywhere in a tile shows the whole tile again.
constexpr int kTile = 32;

}  // namespace

QRegion ClientWidget::Changed(const QRect& area) const {
  const gdi::PixelBuffer& b = *buffer_;
  QRegion changed;
  for (int ty = area.top() / kTile * kTile; ty <= area.bottom(); ty += kTile) {
    for (int tx = area.left() / kTile * kTile; tx <= area.right(); tx += kTile) {
      QRect tile = QRect(tx, ty, kTile, kTile).intersected(area);
      auto bytes = static_cast<std::size_t>(tile.width()) * sizeof(std::uint32_t);
      for (int y = tile.top(); y <= tile.bottom(); ++y) {
        std::size_t at = static_cast<std::size_t>(y) * b.width + tile.left();
        if (std::memcmp(&b.pixels[at], &shown_[at], bytes) != 0) {
          changed += tile;
          break;
        }
      }
    }
  }
  return changed;
}

void ClientWidget::NoteShown(const QRect& source) {
  const gdi::PixelBuffer& b = *buffer_;
  auto size = static_cast<std::size_t>(b.width) * b.height;
  if (shownWidth_ != b.width || shown_.size() != size) {
    shown_.assign(size, 0);
    shownWidth_ = b.width;
  }
  QRect inside = source.intersected(QRect(0, 0, b.width, b.height));
  if (inside.isEmpty()) return;
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    std::size_t at = static_cast<std::size_t>(y) * b.width + inside.left();
    std::memcpy(&shown_[at], &b.pixels[at], static_cast<std::size_t>(inside.width()) * sizeof(std::uint32_t));
  }
}

void ClientWidget::ShowArea(const QRect& area) {
  const gdi::PixelBuffer& b = *buffer_;
  QRect inside = area.intersected(QRect(0, 0, b.width, b.height));
  bool comparable = shownWidth_ == b.width && shown_.size() == static_cast<std::size_t>(b.width) * b.height &&
                    b.pixels.size() >= shown_.size();
  if (!comparable || inside != area) {
    update(ToWidget(area));
    return;
  }
  for (const QRect& r : Changed(inside)) update(ToWidget(r));
}

QPoint ClientWidget::ToClient(QPointF position) const {
  return QPoint(static_cast<int>(std::floor(position.x() / scale_)),
                static_cast<int>(std::floor(position.y() / scale_)));
}

void ClientWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const gdi::PixelBuffer& b = *buffer_;
  QRect area = event->rect();
  QRect shown(0, 0, static_cast<int>(std::lround(b.width * scale_)), static_cast<int>(std::lround(b.height * scale_)));
  if (b.width > 0 && b.height > 0 && b.pixels.size() >= static_cast<std::size_t>(b.width) * b.height) {
    // The image borrows the buffer's memory; it lives only for this paint.
    QImage image(reinterpret_cast<const uchar*>(b.pixels.data()), b.width, b.height, b.width * 4, QImage::Format_RGB32);
    QRect inside = area.intersected(shown);
    if (scale_ == 1) {
      painter.drawImage(inside.topLeft(), image, inside);
      NoteShown(inside);
    } else if (!inside.isEmpty()) {
      // Whole-number scales as crisp blocks, others smoothed; only the part asked for is
      // computed.
      painter.setClipRect(inside);
      painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth_);
      painter.drawImage(QRectF(0, 0, b.width * scale_, b.height * scale_), image);
      NoteShown(QRect(QPoint(static_cast<int>(std::floor(inside.left() / scale_)),
                             static_cast<int>(std::floor(inside.top() / scale_))),
                      QPoint(static_cast<int>(std::ceil((inside.right() + 1) / scale_)) - 1,
                             static_cast<int>(std::ceil((inside.bottom() + 1) / scale_)) - 1)));
    }
  }
  // Whatever the buffer does not cover (during a resize) is black, as a new buffer would be.
  QRegion outside = QRegion(area).subtracted(shown);
  for (const QRect& r : outside) painter.fillRect(r, Qt::black);
}

}  // namespace win32::user32
