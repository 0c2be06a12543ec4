// The pickup sound is started once for every pickup taken. This test program counts the
// starts with its own PlayPickupSound, which the linker takes instead of the sound
// library's (the library's file holds nothing else).
#include <gtest/gtest.h>

#include "game/game.h"
#include "sound/effects.h"

namespace {
int soundsStarted = 0;
}

void PlayPickupSound() { ++soundsStarted; }

namespace {

void PlacePickup(Game& game, int i, int x, int y) {
  while (!game.PickupAt(i).At(x, y)) game.PickupAt(i).Respawn();
}

TEST(PickupSound, StartsOnceForEveryPickupTaken) {
  struct Case {
    int pickupsOnTheCell;
    int want;
  } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
  for (const Case& c : cases) {
    Game game;
    for (int i = 0; i < RoamerCount; ++i) game.RoamerAt(i).Place(28, 28);
    for (int i = 0; i < PickupCount; ++i)
      while (game.PickupAt(i).At(6, 5)) game.PickupAt(i).Respawn();
    for (int i = 0; i < c.pickupsOnTheCell; ++i) PlacePickup(game, i, 6, 5);
    game.Head().Set(5, 5, Right);
    soundsStarted = 0;
    game.Advance();
    ASSERT_TRUE(game.CheckHead());
    EXPECT_EQ(soundsStarted, c.want) << c.pickupsOnTheCell << " pickups";
  }
}

}  // namespace
