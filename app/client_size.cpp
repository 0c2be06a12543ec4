// Sizing a window by its client area. In a file of its own: the full-screen switch and
// its tests use it without the rest of the shell.
#include "app/shell_globals.h"

BOOL SetClientSize(HWND hwnd, int width, int height) {
  RECT window;
  RECT client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  int newWidth = (window.right - window.left - client.right) + width;
  int newHeight = (window.bottom - window.top - client.bottom) + height;
  SetWindowPos(hwnd, NULL, 0, 0, newWidth, newHeight, SWP_NOMOVE | SWP_NOZORDER);
  return TRUE;
}
