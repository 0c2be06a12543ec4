#include "platform/user32/gamepad/key_repeat.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

// Xlib's macros clash with Qt's names: it comes after every Qt header.
#include <X11/XKBlib.h>

namespace win32::user32::gamepad {
namespace {

using std::chrono::milliseconds;

constexpr RepeatTiming kWindowsDefaults{milliseconds(500), milliseconds(33)};

}  // namespace

std::optional<RepeatTiming> DesktopKeyRepeat() {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display* display = x11 ? x11->display() : nullptr;
  if (!display) return kWindowsDefaults;
  XKeyboardState keyboard{};
  XGetKeyboardControl(display, &keyboard);
  if (keyboard.global_auto_repeat == AutoRepeatModeOff) return std::nullopt;
  unsigned delay = 0;
  unsigned interval = 0;
  if (!XkbGetAutoRepeatRate(display, XkbUseCoreKbd, &delay, &interval) || !delay || !interval)
    return kWindowsDefaults;
  return RepeatTiming{milliseconds(delay), milliseconds(interval)};
}

}  // namespace win32::user32::gamepad
