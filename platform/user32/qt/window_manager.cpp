#include "platform/user32/qt/window_manager.h"

#include <QGuiApplication>

namespace win32::user32 {

bool HasWindowManager() {
  QString platform = QGuiApplication::platformName();
  return !platform.isEmpty() && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace win32::user32
