// A menu as Qt shows it: a menu bar inside a top-level window, with drop-down menus whose
// commands reach the window as WM_COMMAND.
#pragma once

#include "platform/user32/menus/menu_table.h"
#include "platform/user32/window.h"

namespace win32::user32 {

// Shows the menu as the window's menu bar. The window's geometry is the caller's business
// (see UpdateMenuBarHeight).
void AttachMenuBar(Window& w, HMENU menu);

// Removes the window's menu bar; the menu itself stays as it is.
void DetachMenuBar(Window& w);

// Shows an item's changed state (check, radio mark, grey) in the menu bar, if it is shown.
void ShowItemState(const MenuItem& item);

// Opens the drop-down whose mnemonic is `letter` (0: the first drop-down), as Alt+letter
// and F10 do. False when the window has no such menu.
bool OpenMenuFromKeyboard(HWND hwnd, char16_t letter);

}  // namespace win32::user32
