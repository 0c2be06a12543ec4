// The shell's globals: the two global objects and the state that the window procedure,
// the game clock and the full-screen switch share. All live on the message-loop thread.
#pragma once

#include "platform/win32.h"

class Game;
class DisplayModeList;

// The two global objects, constructed in this order before WinMain runs.
extern Game game;
extern DisplayModeList displayModes;

constexpr UINT_PTR GAME_TIMER = 1;  // the one window timer that drives the game

extern HINSTANCE appInstance;     // the module, used to open the dialogs
extern CHAR windowTitle[100];     // string STR_TITLE, the caption
extern CHAR windowClassName[100]; // string RES_MAIN, the window class name
extern HMENU mainMenu;            // the main menu, kept while it is detached in full screen
extern int isFullScreen;          // 0 window mode, 1 full-screen mode
extern RECT savedWindowRect;      // the window's rectangle when full screen was entered

// Resizes the window, without moving it or changing its Z order, so that its client area
// becomes width by height pixels. Always returns TRUE.
BOOL SetClientSize(HWND hwnd, int width, int height);
