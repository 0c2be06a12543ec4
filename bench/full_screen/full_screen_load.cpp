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

constexpr UINT_PTR kPaceTimer = 2;
// The interval that the ten-second steps bring the game down to.
constexpr int kFastestInterval = 10;

// Starts a new game when one is over, and keeps every game at the fastest pace (a new game
// starts slow, and each ten-second step restarts the timer at the game's own interval).
void CALLBACK KeepPace(HWND hwnd, UINT, UINT_PTR, DWORD) {
  if (game.GetState() == GameOver) {
    PostMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
  } else if (game.GetInterval() != kFastestInterval) {
    game.SetInterval(kFastestInterval);
    ResetTimer(hwnd, GAME_TIMER, kFastestInterval, GameTimerProc);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  LoadStringA(instance, STR_TITLE, windowTitle, sizeof windowTitle);
  LoadStringA(instance, RES_MAIN, windowClassName, sizeof windowClassName);
  RegisterMainWindowClass(instance);
  if (!InitMainWindow(instance, SW_SHOWNORMAL)) return 1;
  // Shown, the main window is the active one.
  HWND hwnd = GetActiveWindow();
  KeepPace(hwnd, WM_TIMER, kPaceTimer, 0);
  SetTimer(hwnd, kPaceTimer, 20, KeepPace);
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
