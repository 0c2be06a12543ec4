#include "platform/user32/gamepad/key_repeat.h"

#include <QtGui/qguiapplication_platform.h>

#include <QGuiApplication>

// Xlib's macros clash with Qt's names: it comes after every Qt header.
#include <X11/XKBlib.h>

namespace win32::user32::gamepad {

RepeatTiming DesktopKeyRepeat() {
  using std::chrono::milliseconds;
  RepeatTiming timing{milliseconds(500), milliseconds(33)};
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  unsigned delay = 0;
  unsigned interval = 0;
  if (x11 && x11->display() && XkbGetAutoRepeatRate(x11->display(), XkbUseCoreKbd, &delay, &interval) && delay &&
      interval) {
    timing = RepeatTiming{milliseconds(delay), milliseconds(interval)};
  }
  return timing;
}

}  // namespace win32::user32::gamepad
