// The screen this program sees on the real one. While a display mode other than the
// desktop's is in force, the emulated screen is shown on the output scaled and centred
// (display/screen_fit.h): a window that covers it is presented that way, full screen, and the
// other windows keep their places relative to it. In the desktop's own mode the two are one.
#pragma once

#include <QPoint>
#include <QRect>

namespace win32::user32 {

class ScreenView {
 public:
  // The emulated screen fitted into `area` (Qt's coordinates of an output, or of a widget
  // that is shown full screen).
  static ScreenView In(const QRect& area);
  // The emulated screen on the primary output: the identity in the desktop's own mode.
  static ScreenView OnDesktop();

  double Scale() const { return scale_; }
  bool Smooth() const { return smooth_; }

  // From the coordinates windows have to the area's, and back.
  QPoint ToOutput(QPoint p) const;
  QPoint FromOutput(QPoint p) const;
  QRect ToOutput(const QRect& r) const;

 private:
  QPoint screenOrigin_;  // the emulated screen's top-left, in the coordinates windows have
  QPoint placed_;        // where it appears
  double scale_ = 1;
  bool smooth_ = false;
};

}  // namespace win32::user32
