// The main window: its class, its creation and the start of everything that runs with it.
#pragma once

#include "platform/win32.h"

// Fills and registers the main window's class; returns the class atom.
ATOM RegisterMainWindowClass(HINSTANCE instance);

// Creates the main window, starts the music, sizes the client area to the frame, loads the
// graphics, starts the game timer and shows the window. False when the window could not be
// created; then nothing has been started.
bool InitMainWindow(HINSTANCE instance, int showCommand);
