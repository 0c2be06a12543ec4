// The client area of a window: shows the window's pixel buffer, which GDI draws into.
#pragma once

#include <QWidget>
#include <memory>

#include "platform/gdi32/pixel_buffer.h"
#include "platform/win32_types.h"

namespace win32::user32 {

class ClientWidget final : public QWidget {
  Q_OBJECT

 public:
  ClientWidget(HWND hwnd, std::shared_ptr<gdi::PixelBuffer> buffer, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::shared_ptr<gdi::PixelBuffer> buffer_;
};

}  // namespace win32::user32
