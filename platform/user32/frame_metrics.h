// The sizes of what surrounds a client area: the window manager's decoration and the menu
// bar. AdjustWindowRectEx and GetSystemMetrics answer with the same sizes the windows have.
#pragma once

#include <QMargins>

#include "platform/win32_types.h"

namespace win32::user32 {

// True when a top-level window with this style has a title bar and border.
bool HasDecoration(DWORD style);

// The decoration of a top-level window with this style: the frame the window manager last
// told of around a window in its normal state (nothing before it has told of any).
QMargins DecorationFor(DWORD style);

// The window manager told the decoration of a decorated window in its normal state.
void NoteDecoration(QMargins margins);

// The height of a menu bar of one line.
int MenuBarHeight();

}  // namespace win32::user32
