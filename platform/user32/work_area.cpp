#include "platform/user32/work_area.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/qt/event_pump.h"

namespace win32::user32 {

QRect WorkArea(const QWidget* near) {
  // An emulated screen has no panels of the desktop on it.
  if (qt::RunsQt() && !display::ScreenIsEmulated()) {
    QScreen* screen = near ? near->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) return screen->availableGeometry();
  }
  return ScreenArea();
}

QRect ScreenArea() {
  QPoint origin;
  if (qt::RunsQt()) {
    if (QScreen* screen = QGuiApplication::primaryScreen()) origin = screen->geometry().topLeft();
  }
  display::ScreenMode mode = display::CurrentScreenMode();
  return QRect(origin, QSize(mode.width, mode.height));
}

}  // namespace win32::user32
