// The switch between window mode and full-screen mode, and the menu bar of full screen.
#pragma once

#include "platform/win32.h"

// Enters full-screen mode (on not 0): no caption, border or menu, the window at (0, 0) at
// 640 by 480, the screen switched to 640 by 480 at 16 bits per pixel. Leaving (on = 0)
// gives the screen the desktop's mode and the window its place from before. Returns 1.
int SetFullScreen(HWND hwnd, int on);

// Attaches (show not 0) or removes the main menu and returns 1; when the menu is already
// as asked, fits the window around a 640 by 480 client area again and returns 0.
int ShowMenu(HWND hwnd, int show);
