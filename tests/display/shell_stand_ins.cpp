#include "shell_stand_ins.h"

int isFullScreen = 0;
HMENU mainMenu = NULL;
RECT savedWindowRect;

BOOL SetClientSize(HWND hwnd, int width, int height) {
  RECT window;
  RECT client;
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  SetWindowPos(hwnd, NULL, 0, 0, window.right - window.left - client.right + width,
               window.bottom - window.top - client.bottom + height, SWP_NOMOVE | SWP_NOZORDER);
  return TRUE;
}
