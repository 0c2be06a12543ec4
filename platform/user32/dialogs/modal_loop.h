// The modal loop of DialogBoxParamA and MessageBoxA.
#pragma once

#include "platform/user32/user32.h"

namespace win32::user32 {

// Disables the owner, shows the dialog and dispatches every message of the thread (the
// owner's timers and paints included) until EndDialog; then re-enables and activates the
// owner and destroys the dialog. A WM_QUIT ends the loop and is posted again. Returns the
// value given to EndDialog.
INT_PTR RunModal(HWND dialog, HWND owner);

}  // namespace win32::user32
