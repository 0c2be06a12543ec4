// A Win32 program for the no-display test: it enters through the platform's main(), tries
// to make two windows and reports what it got.
#include <cstdio>

#include "platform/win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = "Probe";
  RegisterClassExA(&wc);
  HWND first = CreateWindowExA(0, "Probe", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
  DWORD error = GetLastError();
  HWND second = CreateWindowExA(0, "Probe", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
  std::printf("%d %d %lu %d [%s]\n", first != nullptr, second != nullptr, static_cast<unsigned long>(error), show,
              commandLine);
  return 7;
}
