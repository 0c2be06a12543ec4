// Loading the frame's drawing resources.
#pragma once

#include "platform/win32.h"

// Creates the global Game's back buffer in the format of hwnd's DC (the screen's when hwnd
// is NULL), attaches the board tile and cuts the sixteen sprites from the program's
// bitmap resources. A missing bitmap leaves its tiles or sprites drawing nothing. Always
// returns TRUE.
BOOL LoadGraphics(HWND hwnd, HINSTANCE hInstance);
