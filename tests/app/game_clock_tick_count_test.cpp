// The game clock at tick counts that the test chooses: the ten-second step's exact moment,
// and its pace across the tick count's wrap.
#include <gtest/gtest.h>

#include "game_clock_fixture.h"
#include "platform/kernel32/tick_count_override.h"

using namespace app_test;

namespace {

class GameClockAtSetTimes : public GameClock {
 protected:
  // From here on GetTickCount reads `now`, which starts at the last step.
  void SetUp() override {
    GameClock::SetUp();
    now = lastStepTick;
    win32::testing::SetTickCountOverride([this] { return now; });
  }
  void TearDown() override {
    win32::testing::ClearTickCountOverride();
    GameClock::TearDown();
  }

  DWORD now = 0;
};

TEST_F(GameClockAtSetTimes, TheTenSecondStepComesTenSecondsAfterTheLastOne) {
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

TEST_F(GameClockAtSetTimes, TheStepKeepsItsPaceWhenTheTickCountWraps) {
  lastStepTick = 0xFFFFF000u;
  now = 0xFFFFF800u;
  Tick();
  EXPECT_EQ(game.GetInterval(), 200) << "2 seconds after the last step";
  now = 0xFFFFF000u + 10000;  // wrapped past zero, ten seconds later
  Tick();
  EXPECT_EQ(game.GetInterval(), 190);
}

}  // namespace
