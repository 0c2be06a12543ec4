#include "platform/user32/qt/client_widget.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>

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

void ClientWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const gdi::PixelBuffer& b = *buffer_;
  QRect area = event->rect();
  if (b.width > 0 && b.height > 0 && b.pixels.size() >= static_cast<std::size_t>(b.width) * b.height) {
    // The image borrows the buffer's memory; it lives only for this paint.
    QImage image(reinterpret_cast<const uchar*>(b.pixels.data()), b.width, b.height, b.width * 4,
                 QImage::Format_RGB32);
    QRect inside = area.intersected(image.rect());
    if (!inside.isEmpty()) painter.drawImage(inside.topLeft(), image, inside);
  }
  // Whatever the buffer does not cover (during a resize) is black, as a new buffer would be.
  QRegion outside = QRegion(area).subtracted(QRect(0, 0, b.width, b.height));
  for (const QRect& r : outside) painter.fillRect(r, Qt::black);
}

}  // namespace win32::user32
