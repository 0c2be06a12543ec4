#include "app/window_procedure.h"

#include "app/game_clock.h"
#include "app/shell_globals.h"
#include "display/full_screen.h"
#include "game/game.h"
#include "ranking/reset_confirmation.h"
#include "resources/resource.h"
#include "sound/music.h"

namespace {

constexpr UINT MenuRevealRows = 15;  // in full screen the menu shows while the pointer is above this row

void OnDestroy(HWND hwnd) {
  KillTimer(hwnd, GAME_TIMER);
  MusicStop();
  MusicClose();
  PostQuitMessage(0);
}

void OnPaint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC hdc = BeginPaint(hwnd, &ps);
  game.Paint(hwnd, hdc);
  EndPaint(hwnd, &ps);
}

// A new game after a game over: the snake starts again from the top-left corner; the
// pickups, the roamers and the clock's counters stay as they are.
void Restart(HWND hwnd) {
  game.Shrink(MaxBody);
  game.Head().Set(0, 0, Down);
  game.SetScore(0);
  game.SetInterval(StartInterval);
  ResetTimer(hwnd, GAME_TIMER, game.GetInterval(), GameTimerProc);
  MusicRewind();
  game.SetState(Playing);
  MusicPlay(hwnd);
}

void OnSpace(HWND hwnd) {
  switch (game.GetState()) {
    case Playing:
      game.SetState(Paused);
      MusicStop();
      break;
    case Paused:
      game.SetState(Playing);
      MusicPlay(hwnd);
      break;
    case GameOver:
      Restart(hwnd);
      break;
  }
}

void OnKeyDown(HWND hwnd, WPARAM key) {
  switch (key) {
    case VK_SPACE:
      OnSpace(hwnd);
      break;
    case VK_LEFT:
      game.Turn(Left);
      break;
    case VK_UP:
      game.Turn(Up);
      break;
    case VK_RIGHT:
      game.Turn(Right);
      break;
    case VK_DOWN:
      game.Turn(Down);
      break;
  }
}

void SelectDisplayMode(HWND hwnd, UINT command) {
  CheckMenuRadioItem(GetMenu(hwnd), CMD_WINDOW_MODE, CMD_FULLSCREEN_MODE, command, MF_BYCOMMAND);
  bool wantFullScreen = command == CMD_FULLSCREEN_MODE;
  if (wantFullScreen != (isFullScreen != 0)) SetFullScreen(hwnd, wantFullScreen ? 1 : 0);
}

LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  switch (LOWORD(wParam)) {
    case CMD_ABOUT:
      DialogBoxParamA(appInstance, MAKEINTRESOURCE(DLG_ABOUT), hwnd, AboutDialogProc, 0);
      return 0;
    case CMD_EXIT:
      DestroyWindow(hwnd);
      return 0;
    case CMD_WINDOW_MODE:
    case CMD_FULLSCREEN_MODE:
      SelectDisplayMode(hwnd, LOWORD(wParam));
      return 0;
    case CMD_RESET_RANKING:
      ConfirmRankingReset(hwnd);
      break;
  }
  return DefWindowProcA(hwnd, WM_COMMAND, wParam, lParam);
}

void OnMouseMove(HWND hwnd, LPARAM lParam) {
  if (isFullScreen == 0) return;
  WORD y = HIWORD(lParam);
  ShowMenu(hwnd, y < MenuRevealRows);
}

// The music reached its end, or was stopped or replaced: while the game is played it
// starts again from the beginning, so it loops.
void OnMusicNotify(HWND hwnd) {
  if (game.GetState() != Playing) return;
  MusicRewind();
  MusicPlay(hwnd);
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      OnDestroy(hwnd);
      return 0;
    case WM_PAINT:
      OnPaint(hwnd);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(hwnd, wParam);
      return 0;
    case WM_COMMAND:
      return OnCommand(hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
      OnMouseMove(hwnd, lParam);
      return 0;
    case MM_MCINOTIFY:
      OnMusicNotify(hwnd);
      return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK AboutDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
