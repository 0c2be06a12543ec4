#include "platform/user32/qt/x11_class_hint.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <vector>

#include "platform/common/codepage.h"

// Xlib's macros clash with Qt's names: it comes after every Qt header.
#include <X11/Xutil.h>

namespace win32::user32 {

void SetX11ClassHint(QWidget* topLevel, const std::string& className) {
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->display() || className.empty()) return;
  // Both parts from the class name (in UTF-8, where no byte of a character looks like a
  // letter); the instance part in lower case, as is customary.
  std::string name = cp932::ToUtf8(className);
  std::vector<char> instance(name.begin(), name.end());
  for (char& c : instance) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  instance.push_back('\0');
  std::vector<char> klass(name.begin(), name.end());
  klass.push_back('\0');
  XClassHint hint{instance.data(), klass.data()};
  XSetClassHint(x11->display(), static_cast<::Window>(topLevel->winId()), &hint);
  XFlush(x11->display());
}

}  // namespace win32::user32
