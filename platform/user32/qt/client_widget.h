// The client area of a window: shows the window's pixel buffer, which GDI draws into. A
// window presented on a larger screen than its own (full screen in an emulated display mode)
// shows it scaled.
#pragma once

#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi32/pixel_buffer.h"
#include "platform/win32_types.h"

namespace win32::user32 {

class ClientWidget final : public QWidget {
  Q_OBJECT

 public:
  ClientWidget(HWND hwnd, std::shared_ptr<gdi::PixelBuffer> buffer, QWidget* parent);

  // How many of this widget's pixels show one pixel of the buffer; `smooth`: interpolated
  // (a scale that is not a whole number).
  void SetScale(double scale, bool smooth);
  // Shows again what was drawn in this part of the buffer (client coordinates): the parts that
  // differ from what the widget shows. A program that draws its whole frame for every tick
  // changes few of its pixels, and only those go to the screen.
  void ShowArea(const QRect& area);
  // A point of this widget in client coordinates.
  QPoint ToClient(QPointF position) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect ToWidget(const QRect& area) const;
  // The parts of `area` (inside the buffer) where the buffer differs from what was shown.
  QRegion Changed(const QRect& area) const;
  // Remembers this part of the buffer as shown.
  void NoteShown(const QRect& source);

  std::shared_ptr<gdi::PixelBuffer> buffer_;
  // The buffer's pixels as they were when painted last (the same size as the buffer, or
  // empty before the first paint at this size).
  std::vector<std::uint32_t> shown_;
  int shownWidth_ = 0;
  double scale_ = 1;
  bool smooth_ = false;
};

}  // namespace win32::user32
