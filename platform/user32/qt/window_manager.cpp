#include "platform/user32/qt/window_manager.h"

#include <QGuiApplication>

#include "platform/user32/qt/x11_window_manager.h"

namespace win32::user32 {

bool HasWindowManager() {
  QString platform = QGuiApplication::platformName();
  return !platform.isEmpty() && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

bool WindowManagerTakesFullScreen() { return HasWindowManager() && (OnWayland() || x11::WatchesWindowManager()); }

}  // namespace win32::user32
