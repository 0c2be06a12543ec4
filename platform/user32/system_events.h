// What the window system tells the platform about its windows, through Qt's events. None
// of these calls a window procedure: they change the window's state and queue what its
// procedure must hear, which the thread's next GetMessageA or PeekMessageA delivers.
#pragma once

#include <QMargins>
#include <QRect>

#include "platform/win32_types.h"

namespace win32::user32 {

// The window manager moved, resized or re-framed a top-level window.
void NoteSystemGeometry(HWND hwnd, QRect inner, QMargins frame);

// The window manager maximised, minimised or restored a top-level window.
void NoteSystemWindowState(HWND hwnd, bool maximized, bool minimized);

// The user asked to close the window (its close box, the window manager's close command).
void NoteSystemClose(HWND hwnd);

// Part of the window became visible again and must be repainted.
void NoteExposed(HWND hwnd);

// Qt moved the keyboard focus to this window's widget (a click, the window's activation).
void NoteQtFocus(HWND hwnd);

}  // namespace win32::user32
