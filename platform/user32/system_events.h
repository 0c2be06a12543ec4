// What the window system tells the platform about its windows, through Qt's events. None
// of these calls a window procedure: they change the window's state and queue what its
// procedure must hear, which the thread's next GetMessageA or PeekMessageA delivers.
#pragma once

#include <QMargins>
#include <QRect>

#include "platform/win32_types.h"

namespace win32::user32 {

// The window manager moved or resized a top-level window: its widget is now at `inner`, in Qt's
// coordinates.
void NoteSystemGeometry(HWND hwnd, QRect inner);

// The window manager changed the frame it draws around a top-level window.
void NoteFrameExtents(HWND hwnd, QMargins extents);

// The window manager maximised, minimised, restored a top-level window, or made it full
// screen or ended that.
void NoteSystemWindowState(HWND hwnd, bool maximized, bool minimized, bool fullScreen);

// The user asked to close the window (its close box, the window manager's close command).
void NoteSystemClose(HWND hwnd);

// Qt moved the keyboard focus to this window's widget (a click, the window's activation).
void NoteQtFocus(HWND hwnd);

// The display mode changed (ChangeDisplaySettingsA): the thread's top-level windows are
// measured against the new screen and hear WM_DISPLAYCHANGE. This one is sent at once.
void NoteDisplayChange();

}  // namespace win32::user32
