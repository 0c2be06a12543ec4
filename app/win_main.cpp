// The program's entry point.
#include "app/main_window.h"
#include "app/shell_globals.h"
#include "resources/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  LoadStringA(instance, STR_TITLE, windowTitle, sizeof windowTitle);
  LoadStringA(instance, RES_MAIN, windowClassName, sizeof windowClassName);
  RegisterMainWindowClass(instance);
  // A program that could not make its window has failed, and its exit status tells
  // whoever started it (a launcher, a script) so.
  if (!InitMainWindow(instance, showCommand)) return 1;
  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCE(RES_MAIN));

  // GetMessageA returns -1 only on an error; that ends the loop rather than dispatching
  // a message that was never filled in.
  MSG msg = {};
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}
