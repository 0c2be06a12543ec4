// What the system control classes share. Qt draws a control's widget, so the window itself
// paints nothing: it only validates, and erasing counts as done.
#pragma once

#include "platform/user32/window_class.h"

namespace win32::user32 {

// DefWindowProcA for a control drawn by Qt.
LRESULT CALLBACK DefControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// WM_NCCREATE and WM_SETTEXT of a control whose widget shows its text: DefWindowProcA keeps
// the text, then `show` puts it on the widget.
LRESULT KeepAndShowText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, void (*show)(HWND));

// Registers a control class whose windows are shown by the widgets `factory` builds.
void RegisterControlClass(const char* name, WNDPROC proc, LPCSTR cursor, WidgetFactory factory);

}  // namespace win32::user32
