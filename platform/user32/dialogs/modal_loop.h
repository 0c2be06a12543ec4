// The modal loop of DialogBoxParamA and MessageBoxA.
#pragma once

#include "platform/user32/user32.h"

namespace win32::user32 {

// Disables the owner, shows the dialog and dispatches every message of the thread (the
// owner's timers and paints included) until EndDialog; then re-enables the owner if it was
// enabled before, destroys the dialog and gives the activation and the keyboard focus back:
// to the owner if it takes input again, else to `previousActive`, the window that was active
// before the dialog was made (another modal dialog of the same owner, which keeps the owner
// disabled). A WM_QUIT ends the loop and is posted again. Returns the value given to EndDialog.
INT_PTR RunModal(HWND dialog, HWND owner, HWND previousActive);

}  // namespace win32::user32
