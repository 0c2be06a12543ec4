#include "app/game_clock.h"

#include "app/shell_globals.h"
#include "game/game.h"
#include "ranking/name_entry_dialog.h"
#include "resources/resource.h"
#include "sound/music.h"

DWORD lastStepTick = 0;
int roamerTickCounter = 0;

namespace {

constexpr DWORD TenSecondStep = 10000;  // milliseconds between reshuffles and speed-ups
constexpr int SpeedUpStep = 10;         // milliseconds taken off the interval each time
constexpr int RoamerCadence = 5;        // the roamers step when the counter exceeds this

void EndGame(HWND hwnd) {
  game.SetState(GameOver);
  MusicStop();
  int rank = game.Ranking().RankOf(game.GetScore());
  if (rank >= 1 && rank <= RankingTable::kEntryCount)
    DialogBoxParamA(appInstance, MAKEINTRESOURCE(DLG_NAME_ENTRY), hwnd, NameEntryDialogProc, 0);
  lastStepTick = 0;
}

}  // namespace

void CALLBACK GameTimerProc(HWND hwnd, UINT, UINT_PTR, DWORD) {
  if (game.GetState() == Playing) {
    game.Advance();
    if (!game.CheckHead()) EndGame(hwnd);

    // Measured as an elapsed time so that the step keeps its pace when the tick count
    // wraps around after 49.7 days.
    if (GetTickCount() - lastStepTick >= TenSecondStep) {
      game.ScatterPickups();
      game.MoveRoamers();
      lastStepTick = GetTickCount();
      game.SpeedUp(SpeedUpStep);
      ResetTimer(hwnd, GAME_TIMER, game.GetInterval(), GameTimerProc);
    }

    if (++roamerTickCounter > RoamerCadence) {
      game.MoveRoamers();
      roamerTickCounter = 0;
    }
  }
  RedrawWindow(hwnd, NULL, NULL, RDW_INVALIDATE);
}

BOOL ResetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  KillTimer(hwnd, id);
  SetTimer(hwnd, id, elapse, proc);
  return TRUE;
}
