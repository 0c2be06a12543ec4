// Turns Qt's keyboard, mouse and focus events on a window's widget into queued Win32 input
// messages. Qt's own handling of those events (and its shortcuts) is suppressed: a window
// hears its input the Win32 way, through the message loop.
#pragma once

#include "platform/win32_types.h"

class QString;
class QWidget;

namespace win32::user32 {

// `withMouse`: mouse events become messages too (windows the program draws); without it
// Qt handles the mouse itself (controls: a click on a push button, a drag in an edit).
void InstallInputBridge(QWidget* widget, bool withMouse);

// Queues what an input method committed as WM_IME_CHAR messages, one per character in code
// page 932; a character the code page lacks is refused with a beep.
void PostImeCharacters(HWND hwnd, const QString& committed);

// Releases the bridge's Qt object before Qt goes away.
void ReleaseInputBridge();

}  // namespace win32::user32
