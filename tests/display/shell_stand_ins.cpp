#include "shell_stand_ins.h"

int isFullScreen = 0;
HMENU mainMenu = NULL;
RECT savedWindowRect;

HWND CreateGameLikeWindow(const char* className, int x, int y, int width, int height) {
  constexpr WORD kMenu = 109;  // the menu's number in full_screen_test.rc
  HINSTANCE instance = GetModuleHandleA(NULL);
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = instance;
  windowClass.lpszMenuName = MAKEINTRESOURCEA(kMenu);
  windowClass.lpszClassName = className;
  RegisterClassExA(&windowClass);
  return CreateWindowExA(0, className, className, kGameWindowStyle, x, y, width, height, NULL, NULL, instance, NULL);
}
