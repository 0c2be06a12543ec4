#include "platform/user32/qt/client_widget.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

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

void ClientWidget::ShowArea(const QRect& area) { update(ToWidget(area)); }

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
    QImage image(reinterpret_cast<const uchar*>(b.pixels.data()), b.width, b.height, b.width * 4,
                 QImage::Format_RGB32);
    QRect inside = area.intersected(shown);
    if (scale_ == 1) {
      painter.drawImage(inside.topLeft(), image, inside);
    } else if (!inside.isEmpty()) {
      // Whole-number scales as crisp blocks, others smoothed; only the part asked for is
      // computed.
      painter.setClipRect(inside);
      painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth_);
      painter.drawImage(QRectF(0, 0, b.width * scale_, b.height * scale_), image);
    }
  }
  // Whatever the buffer does not cover (during a resize) is black, as a new buffer would be.
  QRegion outside = QRegion(area).subtracted(shown);
  for (const QRect& r : outside) painter.fillRect(r, Qt::black);
}

}  // namespace win32::user32
