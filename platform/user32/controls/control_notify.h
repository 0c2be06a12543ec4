// A control telling its parent what happened: WM_COMMAND with the control's identifier and a
// notification code (BN_CLICKED, EN_CHANGE...).
#pragma once

#include "platform/user32/user32.h"

namespace win32::user32 {

void NotifyParent(HWND control, WORD code);

// The same, from the message loop: for what Qt reports while it processes its events.
void NotifyParentLater(HWND control, WORD code);

}  // namespace win32::user32
