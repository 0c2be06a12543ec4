#include "app/main_window.h"

#include "app/game_clock.h"
#include "app/shell_globals.h"
#include "app/window_procedure.h"
#include "game/game.h"
#include "render/frame_geometry.h"
#include "render/graphics.h"
#include "resources/resource.h"
#include "sound/music.h"

namespace {

constexpr DWORD MainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

}  // namespace

ATOM RegisterMainWindowClass(HINSTANCE instance) {
  WNDCLASSEXA wc;
  wc.cbSize = sizeof(WNDCLASSEXA);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = MainWindowProc;
  wc.cbClsExtra = 0;
  wc.cbWndExtra = 0;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCE(ICON_LARGE));
  wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszMenuName = MAKEINTRESOURCE(RES_MAIN);
  wc.lpszClassName = windowClassName;
  wc.hIconSm = LoadIconA(instance, MAKEINTRESOURCE(ICON_SMALL));
  return RegisterClassExA(&wc);
}

bool InitMainWindow(HINSTANCE instance, int showCommand) {
  appInstance = instance;
  HWND window = CreateWindowExA(0, windowClassName, windowTitle, MainWindowStyle, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                NULL, NULL, instance, NULL);
  if (window == NULL) return false;
  mainMenu = GetMenu(window);
  isFullScreen = 0;
  MusicOpen();
  MusicPlay(window);
  CheckMenuRadioItem(mainMenu, CMD_WINDOW_MODE, CMD_FULLSCREEN_MODE, CMD_WINDOW_MODE, MF_BYCOMMAND);
  SetClientSize(window, FrameWidth, FrameHeight);
  LoadGraphics(window, instance);
  SetTimer(window, GAME_TIMER, StartInterval, GameTimerProc);
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
}
