// The X11 WM_CLASS property of a top-level window: window managers and desktops group and
// match windows by it.
#pragma once

#include <string>

class QWidget;

namespace win32::user32 {

// Sets WM_CLASS (instance and class name) of the widget's native window; nothing when Qt
// does not run on X11. Call before the window is first shown.
void SetX11ClassHint(QWidget* topLevel, const std::string& className);

}  // namespace win32::user32
