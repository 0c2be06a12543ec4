// The game clock: one tick in each state, the end of a game, the ten-second step's speed-up
// and the roamers' cadence, on the running tick count.
#include <gtest/gtest.h>

#include "game_clock_fixture.h"
#include "tests/common/step_runner.h"

using namespace app_test;

namespace {

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

TEST_F(GameClock, TheIntervalShrinksTenAtATimeAndStaysAtOne) {
  struct Case {
    int from, want;
  } cases[] = {{200, 190}, {20, 10}, {10, 1}, {1, 1}};
  for (const Case& c : cases) {
    ResetGame();
    game.SetInterval(c.from);
    lastStepTick = GetTickCount() - 10000;
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
  test::WriteBytes("Ranking.dat",
                   "[1]\r\nScore=50\r\n[2]\r\nScore=40\r\n[3]\r\nScore=30\r\n[4]\r\nScore=20\r\n[5]\r\nScore=10\r\n");
  game.Ranking().Load();
  // A dialog would run a modal loop, where this timer closes it (and tells); without one
  // nothing reads the queue and the timer never fires.
  UINT_PTR watchdog = SetTimer(NULL, 0, 50, CloseAnyDialog);
  game.SetScore(10);  // equal to the fifth: does not enter
  game.Head().Set(0, 29, Down);
  DWORD before = GetTickCount();
  Tick();
  DWORD after = GetTickCount();
  KillTimer(NULL, watchdog);
  EXPECT_EQ(game.GetState(), GameOver);
  EXPECT_FALSE(dialogSeen);
  EXPECT_EQ(MusicStatus("mode"), "stopped");
  EXPECT_LE(lastStepTick - before, after - before)
      << "the game over's reset of lastStepTick brings the ten-second step at once";
  EXPECT_EQ(game.GetInterval(), 190);
}

TEST_F(GameClock, AGameThatEndsWithARankingScoreAsksForTheNameAndRecordsIt) {
  test::WriteBytes("Ranking.dat",
                   "[1]\r\nScore=50\r\n[2]\r\nScore=40\r\n[3]\r\nScore=30\r\n[4]\r\nScore=20\r\n[5]\r\nScore=10\r\n");
  game.Ranking().Load();
  std::string caption;
  test::RunSteps({[&] {
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
  test::StopSteps();
  EXPECT_EQ(caption, "あなたは3位です。");
  EXPECT_EQ(game.GetState(), GameOver);
  EXPECT_EQ(game.Ranking().ScoreAt(2), 35);
  EXPECT_EQ(game.Ranking().BodyAt(2), 4);
  EXPECT_STREQ(game.Ranking().NameAt(2), "Hanako");
  EXPECT_EQ(game.Ranking().ScoreAt(4), 20);
  EXPECT_NE(test::ReadBytes("Ranking.dat").find("[3]\r\nScore=35\r\nName=Hanako\r\nBody=4\r\n"), std::string::npos)
      << test::ReadBytes("Ranking.dat");
}

}  // namespace
