// The game clock: one tick in each state, the end of a game, the ten-second step and the
// roamers' cadence, with GetTickCount under the test's control.
#include "app/game_clock.h"

#include <gtest/gtest.h>

#include "../platform/user32/user32_test_support.h"
#include "app/shell_globals.h"
#include "app_test_support.h"
#include "game/game.h"
#include "platform/kernel32/tick_count_override.h"
#include "resources/resource.h"

using namespace app_test;

namespace {

class GameClock : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    if (HasFatalFailure()) return;
    now = 1'000'000;
    win32::testing::SetTickCountOverride([this] { return now; });
    lastStepTick = now;  // no ten-second step unless a test asks for one
    roamerTickCounter = 0;
    ClearPath();
    ValidateRect(hwnd, nullptr);
  }
  void TearDown() override {
    win32::testing::ClearTickCountOverride();
    MainWindowTest::TearDown();
  }

  void Tick() { GameTimerProc(hwnd, WM_TIMER, GAME_TIMER, now); }

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

  DWORD now = 0;
};

TEST_F(GameClock, ATickOutsidePlayOnlyAsksForARepaint) {
  for (PlayState state : {Paused, GameOver}) {
    game.SetState(state);
    ValidateRect(hwnd, nullptr);
    lastStepTick = 0;  // a step would be due, but nothing steps outside play
    Tick();
    EXPECT_EQ(game.Head().GetY(), 0) << state;
    EXPECT_EQ(roamerTickCounter, 0) << state;
    EXPECT_EQ(game.GetInterval(), 200) << state;
    EXPECT_TRUE(PaintPending(hwnd)) << state;
  }
}

TEST_F(GameClock, APlayingTickStepsTheSnakeAndAsksForARepaint) {
  Tick();
  EXPECT_EQ(game.Head().GetY(), 1);
  EXPECT_EQ(roamerTickCounter, 1);
  EXPECT_TRUE(PaintPending(hwnd));
}

TEST_F(GameClock, TheTenSecondStepComesTenSecondsAfterTheLastOne) {
  now = lastStepTick + 9999;
  Tick();
  EXPECT_EQ(game.GetInterval(), 200);

  int before[RoamerCount][2];
  for (int i = 0; i < RoamerCount; ++i) before[i][0] = game.RoamerAt(i).GetX(), before[i][1] = game.RoamerAt(i).GetY();
  now = lastStepTick + 10000;
  Tick();
  EXPECT_EQ(game.GetInterval(), 190);
  EXPECT_EQ(lastStepTick, now);
  EXPECT_TRUE(RoamersMoved(before));

  now += 5000;
  Tick();
  EXPECT_EQ(game.GetInterval(), 190);
}

TEST_F(GameClock, TheStepKeepsItsPaceWhenTheTickCountWraps) {
  lastStepTick = 0xFFFFF000u;
  now = 0xFFFFF800u;
  Tick();
  EXPECT_EQ(game.GetInterval(), 200) << "2 seconds after the last step";
  now = 0xFFFFF000u + 10000;  // wrapped past zero, ten seconds later
  Tick();
  EXPECT_EQ(game.GetInterval(), 190);
}

TEST_F(GameClock, TheIntervalShrinksTenAtATimeAndStaysAtOne) {
  struct Case {
    int from, want;
  } cases[] = {{200, 190}, {20, 10}, {10, 1}, {1, 1}};
  for (const Case& c : cases) {
    ResetGame();
    game.SetInterval(c.from);
    lastStepTick = now - 10000;
    Tick();
    EXPECT_EQ(game.GetInterval(), c.want) << c.from;
  }
}

TEST_F(GameClock, RoamersStepOnEverySixthPlayingTick) {
  game.Head().Set(0, 0, Right);
  for (int tick = 1; tick <= 12; ++tick) {
    int before[RoamerCount][2];
    for (int i = 0; i < RoamerCount; ++i) {
      game.RoamerAt(i).Place(15, 15);
      before[i][0] = 15, before[i][1] = 15;
    }
    game.Head().Set(0, tick % 20, Right);  // keep the head on the board, away from the roamers
    Tick();
    EXPECT_EQ(RoamersMoved(before), tick % 6 == 0) << "tick " << tick;
    EXPECT_EQ(roamerTickCounter, tick % 6);
  }
}

// Set by the watchdog when a dialog came up where none should.
bool dialogSeen = false;

void CALLBACK CloseAnyDialog(HWND, UINT, UINT_PTR, DWORD) {
  dialogSeen = true;
  SendMessageA(GetActiveWindow(), WM_COMMAND, IDOK, 0);
}

TEST_F(GameClock, AGameThatEndsWithoutARankingScoreShowsNoDialog) {
  WriteFile("Ranking.dat",
            "[1]\r\nScore=50\r\n[2]\r\nScore=40\r\n[3]\r\nScore=30\r\n[4]\r\nScore=20\r\n[5]\r\nScore=10\r\n");
  game.Ranking().Load();
  // A dialog would run a modal loop, where this timer closes it (and tells); without one
  // nothing reads the queue and the timer never fires.
  UINT_PTR watchdog = SetTimer(NULL, 0, 50, CloseAnyDialog);
  game.SetScore(10);  // equal to the fifth: does not enter
  game.Head().Set(0, 29, Down);
  Tick();
  KillTimer(NULL, watchdog);
  EXPECT_EQ(game.GetState(), GameOver);
  EXPECT_FALSE(dialogSeen);
  EXPECT_EQ(MusicStatus("mode"), "stopped");
  EXPECT_EQ(lastStepTick, now) << "the game over's reset of lastStepTick brings the ten-second step at once";
  EXPECT_EQ(game.GetInterval(), 190);
}

TEST_F(GameClock, AGameThatEndsWithARankingScoreAsksForTheNameAndRecordsIt) {
  WriteFile("Ranking.dat",
            "[1]\r\nScore=50\r\n[2]\r\nScore=40\r\n[3]\r\nScore=30\r\n[4]\r\nScore=20\r\n[5]\r\nScore=10\r\n");
  game.Ranking().Load();
  std::string caption;
  user32_test::RunSteps({[&] {
    HWND dialog = GetActiveWindow();
    char text[64] = "";
    GetWindowTextA(dialog, text, sizeof text);
    caption = text;
    SetDlgItemTextA(dialog, IDC_NAME_EDIT, "Hanako");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  }});
  game.SetScore(35);
  game.Grow(4);
  game.Head().Set(0, 29, Down);
  Tick();
  user32_test::StopSteps();
  EXPECT_EQ(caption, "あなたは3位です。");
  EXPECT_EQ(game.GetState(), GameOver);
  EXPECT_EQ(game.Ranking().ScoreAt(2), 35);
  EXPECT_EQ(game.Ranking().BodyAt(2), 4);
  EXPECT_STREQ(game.Ranking().NameAt(2), "Hanako");
  EXPECT_EQ(game.Ranking().ScoreAt(4), 20);
  EXPECT_NE(ReadFile("Ranking.dat").find("[3]\r\nScore=35\r\nName=Hanako\r\nBody=4\r\n"), std::string::npos)
      << ReadFile("Ranking.dat");
}

}  // namespace
