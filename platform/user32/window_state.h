// Internal helpers about a window's state: whether it takes input, the keyboard focus, and
// activation.
#pragma once

#include "platform/win32_types.h"

namespace win32::user32 {

// True when the window and every window above it are enabled: only then does it get
// keyboard and mouse input.
bool IsInputEnabled(HWND hwnd);

// Gives the focus to hwnd's top-level window, on the control inside it that had it last.
void RestoreFocus(HWND topLevel);

// The window forgets the focus (it is being hidden, disabled or destroyed).
void DropFocusFrom(HWND hwnd);

}  // namespace win32::user32
