// The game clock's tests run on the real main window; the test calls the clock's callback
// itself, one tick at a time.
#pragma once

#include "app/game_clock.h"
#include "app/shell_globals.h"
#include "app_test_support.h"
#include "game/game.h"
#include "resources/resource.h"

namespace app_test {

class GameClock : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    if (HasFatalFailure()) return;
    lastStepTick = GetTickCount();  // no ten-second step unless a test asks for one
    roamerTickCounter = 0;
    ClearPath();
    ValidateRect(hwnd, nullptr);
  }

  void Tick() { GameTimerProc(hwnd, WM_TIMER, GAME_TIMER, GetTickCount()); }

  // Roamers in the middle of the board (so that every step shows) and pickups away from
  // the left columns where the snake runs.
  void ClearPath() {
    for (int i = 0; i < RoamerCount; ++i) game.RoamerAt(i).Place(15, 15);
    for (int i = 0; i < PickupCount; ++i)
      while (game.PickupAt(i).GetX() < 3) game.PickupAt(i).Respawn();
  }

  bool RoamersMoved(const int (&before)[RoamerCount][2]) {
    for (int i = 0; i < RoamerCount; ++i)
      if (game.RoamerAt(i).GetX() != before[i][0] || game.RoamerAt(i).GetY() != before[i][1]) return true;
    return false;
  }
};

}  // namespace app_test
