#include "display/full_screen.h"

#include "app/shell_globals.h"
#include "display/display_mode_list.h"

namespace {

constexpr int FullScreenWidth = 640;
constexpr int FullScreenHeight = 480;
constexpr int FullScreenBits = 16;

}  // namespace

int SetFullScreen(HWND hwnd, int on) {
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);
  isFullScreen = on;
  ShowMenu(hwnd, on == 0);
  // WS_CAPTION is WS_BORDER and WS_DLGFRAME: caption and border go on entering and come
  // back on leaving.
  SetWindowLongA(hwnd, GWL_STYLE, style ^ WS_CAPTION);
  if (on != 0) {
    // The window takes the top-left corner before the screen shrinks around it.
    GetWindowRect(hwnd, &savedWindowRect);
    SetWindowPos(hwnd, NULL, 0, 0, FullScreenWidth, FullScreenHeight, SWP_NOZORDER);
    displayModes.FindAndSwitch(FullScreenWidth, FullScreenHeight, FullScreenBits);
  } else {
    // The screen is the desktop's again before the window goes back to its place.
    displayModes.RestoreDesktopMode();
    SetWindowPos(hwnd, NULL, savedWindowRect.left, savedWindowRect.top, savedWindowRect.right - savedWindowRect.left,
                 savedWindowRect.bottom - savedWindowRect.top, SWP_NOZORDER | SWP_FRAMECHANGED);
  }
  return 1;
}

int ShowMenu(HWND hwnd, int show) {
  if (show != 0 && GetMenu(hwnd) == NULL) {
    SetMenu(hwnd, mainMenu);
    return 1;
  }
  if (show == 0 && GetMenu(hwnd) != NULL) {
    SetMenu(hwnd, NULL);
    return 1;
  }
  SetClientSize(hwnd, FullScreenWidth, FullScreenHeight);
  return 0;
}
