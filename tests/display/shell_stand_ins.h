// The shell's globals, which the program defines in app/, for programs that test the
// full-screen switch on a window of their own. Each such program defines `displayModes`
// itself, to place it among its own global objects; SetClientSize comes from app/.
#pragma once

#include "app/shell_globals.h"
#include "display/display_mode_list.h"

// The main window's style: overlapped, caption, system menu, minimise and maximise boxes.
constexpr DWORD kGameWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// Registers a class `className` (the default procedure, and the menu of full_screen_test.rc,
// which the program must carry) and creates a window of the main window's style. Null when
// the window cannot be created.
HWND CreateGameLikeWindow(const char* className, int x, int y, int width, int height);
