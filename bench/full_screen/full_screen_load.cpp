// The game at its fastest tick, 10 ms, in window mode or full screen: the load that
// full_screen_cpu.sh measures. A new game starts as soon as one ends, so the frames are those
// of a game being played. Run it in a folder whose Ranking.dat no score can enter (no name
// dialog stops the game) and without bgm.mid (no music to render).
//   full_screen_load window|full
#include <cstring>

#include "app/game_clock.h"
#include "app/main_window.h"
#include "app/shell_globals.h"
#include "game/game.h"
#include "resources/resource.h"

namespace {

constexpr UINT_PTR kRestartTimer = 2;

void CALLBACK RestartWhenOver(HWND hwnd, UINT, UINT_PTR, DWORD) {
  if (game.GetState() == GameOver) PostMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  LoadStringA(instance, STR_TITLE, windowTitle, sizeof windowTitle);
  LoadStringA(instance, RES_MAIN, windowClassName, sizeof windowClassName);
  RegisterMainWindowClass(instance);
  if (!InitMainWindow(instance, SW_SHOWNORMAL)) return 1;
  HWND hwnd = GetActiveWindow();
  // The interval that ten-second steps bring the game down to.
  ResetTimer(hwnd, GAME_TIMER, 10, GameTimerProc);
  SetTimer(hwnd, kRestartTimer, 50, RestartWhenOver);
  if (std::strcmp(commandLine, "full") == 0) PostMessageA(hwnd, WM_COMMAND, CMD_FULLSCREEN_MODE, 0);

  HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCE(RES_MAIN));
  MSG msg = {};
  while (GetMessageA(&msg, NULL, 0, 0) > 0) {
    if (!TranslateAcceleratorA(msg.hwnd, accelerators, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}
