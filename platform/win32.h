// The one header that the game includes for the Win32 API. On Windows it is the real
// thing; elsewhere it declares the subset that platform/ implements, with Win32's names,
// types, sizes and values.
#pragma once

#ifdef _WIN32
#include <windows.h>
#include <mmsystem.h>
#else
#include "platform/win32_types.h"
#include "platform/kernel32/kernel32.h"
#include "platform/gdi32/gdi32.h"
#include "platform/user32/user32.h"
#include "platform/winmm/winmm.h"

// The program's entry point, called by the platform's main().
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);
#endif
