#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

#include "game/game.h"

namespace {

// Respawns pickup i until it lies at (x, y) with the given kind.
void PlacePickup(Game& game, int i, int x, int y, PickupKind kind) {
  Pickup& p = game.PickupAt(i);
  for (int tries = 0; tries < 1000000; ++tries) {
    if (p.At(x, y) && p.GetKind() == kind) return;
    p.Respawn();
  }
  FAIL() << "could not place a pickup";
}

// Moves every roamer to the far corner and every pickup out of the given rows and columns,
// so that a test's snake meets nothing it did not ask for.
void ClearPath(Game& game, int maxCol, int maxRow) {
  for (int i = 0; i < RoamerCount; ++i) game.RoamerAt(i).Place(28, 28);
  for (int i = 0; i < PickupCount; ++i) {
    Pickup& p = game.PickupAt(i);
    while (p.GetX() <= maxCol || p.GetY() <= maxRow) p.Respawn();
  }
}

// Gives the snake `length` body cells lying in a straight line behind the head.
void LayBody(Game& game, int length) {
  const Segment& head = game.Head();
  int dx = head.GetDir() == Right ? -1 : head.GetDir() == Left ? 1 : 0;
  int dy = head.GetDir() == Down ? -1 : head.GetDir() == Up ? 1 : 0;
  for (int i = 0; i < length; ++i) {
    game.BodyAt(i).SetActive(2);
    game.BodyAt(i).Assign(head.GetX() + dx * (i + 1), head.GetY() + dy * (i + 1), head.GetDir());
  }
}

TEST(Game, StartsPlayingAtTheTopLeftHeadingDownWithNoBody) {
  Game game;
  EXPECT_EQ(game.GetState(), Playing);
  EXPECT_EQ(game.GetInterval(), 200);
  EXPECT_EQ(game.GetScore(), 0);
  EXPECT_EQ(game.Head().GetX(), 0);
  EXPECT_EQ(game.Head().GetY(), 0);
  EXPECT_EQ(game.Head().GetDir(), Down);
  EXPECT_NE(game.Head().GetActive(), 0);
  EXPECT_EQ(game.BodyLength(), 0);
  for (int i = 0; i < RoamerCount; ++i) {
    EXPECT_GE(game.RoamerAt(i).GetX(), 1);
    EXPECT_LE(game.RoamerAt(i).GetX(), 28);
    EXPECT_GE(game.RoamerAt(i).GetY(), 1);
    EXPECT_LE(game.RoamerAt(i).GetY(), 28);
  }
}

TEST(Game, LeavingTheBoardEndsTheGameAtEachEdge) {
  struct Case {
    int x, y;
    Direction dir;
    int wantX, wantY;
  } cases[] = {{5, 0, Up, 5, -1}, {0, 5, Left, -1, 5}, {29, 5, Right, 30, 5}, {5, 29, Down, 5, 30}};
  for (const Case& c : cases) {
    Game game;
    ClearPath(game, -1, -1);
    game.Head().Set(c.x, c.y, c.dir);
    game.Advance();
    EXPECT_FALSE(game.CheckHead()) << c.x << "," << c.y;
    EXPECT_EQ(game.Head().GetX(), c.wantX);
    EXPECT_EQ(game.Head().GetY(), c.wantY);
  }
}

TEST(Game, ANewGameHeadingDownEndsOnItsThirtiethStep) {
  Game game;
  ClearPath(game, 0, -1);
  int steps = 0;
  bool alive = true;
  while (alive && steps < 100) {
    game.Advance();
    ++steps;
    alive = game.CheckHead();
  }
  EXPECT_EQ(steps, 30);
  EXPECT_EQ(game.Head().GetY(), 30);
}

TEST(Game, AdvanceShiftsEveryCellIntoThePlaceOfTheCellAhead) {
  Game game;
  game.Head().Set(10, 10, Right);
  LayBody(game, 3);  // body at (9,10) (8,10) (7,10)
  game.Head().Set(10, 10, Down);
  game.Advance();
  EXPECT_EQ(game.Head().GetX(), 10);
  EXPECT_EQ(game.Head().GetY(), 11);
  EXPECT_EQ(game.Head().GetDir(), Down);
  const std::pair<int, int> want[] = {{10, 10}, {9, 10}, {8, 10}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(game.BodyAt(i).GetX(), want[i].first) << i;
    EXPECT_EQ(game.BodyAt(i).GetY(), want[i].second) << i;
  }
  // Each cell keeps the direction in which the cell ahead of it moved.
  EXPECT_EQ(game.BodyAt(0).GetDir(), Down);
  EXPECT_EQ(game.BodyAt(1).GetDir(), Right);
  EXPECT_FALSE(game.BodyAt(3).GetActive());
}

TEST(Game, TurningRules) {
  {
    Game game;  // no body: a reversal is allowed
    EXPECT_TRUE(game.Turn(Up));
    EXPECT_EQ(game.Head().GetDir(), Up);
    EXPECT_FALSE(game.Turn(Up)) << "the current direction changes nothing";
  }
  {
    Game game;
    game.Head().Set(5, 5, Down);
    LayBody(game, 2);  // the first body cell is at (5,4), behind the head
    EXPECT_FALSE(game.Turn(Up));
    EXPECT_TRUE(game.Turn(Left));
    EXPECT_FALSE(game.Turn(Up)) << "a sideways turn within the step must not open the way back";
    EXPECT_TRUE(game.Turn(Right));
    EXPECT_EQ(game.Head().GetX(), 5);
    EXPECT_EQ(game.Head().GetY(), 5);
  }
  for (PlayState state : {Paused, GameOver}) {
    Game game;
    game.SetState(state);
    EXPECT_FALSE(game.Turn(Right));
    EXPECT_EQ(game.Head().GetDir(), Down);
  }
  Game game;
  EXPECT_TRUE(game.CanTurn(static_cast<Direction>(7)));
}

TEST(Game, GrowStopsAtTheCapAndShrinkAtZero) {
  struct Case {
    int start, grow, shrink, want;
  } cases[] = {{898, 5, 0, 900}, {0, 3, 0, 3}, {2, 0, 3, 0}, {5, 0, 3, 2}, {900, 0, 3, 897}, {900, 0, 900, 0},
               {4, 0, 0, 4},     {0, 0, 3, 0}};
  for (const Case& c : cases) {
    Game game;
    game.Grow(c.start);
    ASSERT_EQ(game.BodyLength(), c.start);
    game.Grow(c.grow);
    game.Shrink(c.shrink);
    EXPECT_EQ(game.BodyLength(), c.want) << c.start << " +" << c.grow << " -" << c.shrink;
    for (int i = 0; i < MaxBody; ++i) ASSERT_EQ(game.BodyAt(i).GetActive() != 0, i < c.want) << i;
  }
}

TEST(Game, EatingAGrow5PickupAddsFiveStackedCellsThatUnfold) {
  Game game;
  ClearPath(game, 5, 5);
  game.Head().Set(3, 3, Right);
  PlacePickup(game, 0, 4, 3, Grow5);
  game.Advance();
  ASSERT_TRUE(game.CheckHead());
  EXPECT_EQ(game.GetScore(), 5);
  EXPECT_EQ(game.BodyLength(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(game.BodyAt(i).GetX(), 4) << "stacked on the head's cell while there is no tail";
    EXPECT_EQ(game.BodyAt(i).GetActive(), 2);
  }
  game.Head().Set(game.Head().GetX(), game.Head().GetY(), Down);
  for (int i = 0; i < 5; ++i) {
    game.Advance();
    ASSERT_TRUE(game.CheckHead()) << i;
  }
  std::set<std::pair<int, int>> cells;
  for (int i = 0; i < 5; ++i) cells.insert({game.BodyAt(i).GetX(), game.BodyAt(i).GetY()});
  EXPECT_EQ(cells.size(), 5u) << "after five steps every new cell has a place of its own";
}

TEST(Game, Shrink3LeavesTheScoreAlone) {
  Game game;
  ClearPath(game, 5, 5);
  game.Head().Set(3, 3, Right);
  LayBody(game, 4);
  game.SetScore(11);
  PlacePickup(game, 2, 4, 3, Shrink3);
  game.Advance();
  ASSERT_TRUE(game.CheckHead());
  EXPECT_EQ(game.GetScore(), 11);
  EXPECT_EQ(game.BodyLength(), 1);
}

TEST(Game, PickupsOnOneCellAreAllTakenInOneStep) {
  Game game;
  ClearPath(game, 5, 5);
  game.Head().Set(3, 3, Right);
  PlacePickup(game, 0, 4, 3, Grow3);
  PlacePickup(game, 7, 4, 3, Grow5);
  game.Advance();
  ASSERT_TRUE(game.CheckHead());
  EXPECT_EQ(game.GetScore(), 8);
  EXPECT_EQ(game.BodyLength(), 8);
}

TEST(Game, CollisionsWithRoamersAndTheBody) {
  {
    Game game;
    ClearPath(game, 12, 12);
    game.Head().Set(10, 10, Right);
    game.RoamerAt(1).Place(11, 10);
    game.Advance();
    EXPECT_FALSE(game.CheckHead());
  }
  {
    // A roamer that moves onto the body does not end the game.
    Game game;
    ClearPath(game, 12, 12);
    game.Head().Set(10, 10, Right);
    LayBody(game, 3);
    game.RoamerAt(0).Place(8, 10);
    game.Advance();
    EXPECT_TRUE(game.CheckHead());
  }
  {
    // Running into its own body ends the game.
    Game game;
    ClearPath(game, 12, 12);
    game.Head().Set(5, 5, Right);
    LayBody(game, 4);                // (4,5) (3,5) (2,5) (1,5)
    game.BodyAt(1).Assign(5, 6, Up);  // bend the body so that it lies below the head
    game.Head().Set(5, 5, Down);
    game.Advance();
    EXPECT_FALSE(game.CheckHead());
  }
  {
    // The head may enter the cell that the tail has just left.
    Game game;
    ClearPath(game, 12, 12);
    game.Head().Set(3, 3, Down);
    const std::pair<int, int> square[] = {{4, 3}, {4, 4}, {3, 4}};
    for (int i = 0; i < 3; ++i) {
      game.BodyAt(i).SetActive(2);
      game.BodyAt(i).Assign(square[i].first, square[i].second, Left);
    }
    game.Advance();
    EXPECT_TRUE(game.CheckHead());
    EXPECT_EQ(game.Head().GetY(), 4);
  }
}

TEST(Game, SpeedUpNeverGoesBelowOne) {
  struct Case {
    int from, by, want;
  } cases[] = {{5, 10, 1}, {11, 10, 1}, {12, 10, 2}, {200, 10, 190}, {1, 10, 1}, {10, 10, 1}};
  for (const Case& c : cases) {
    Game game;
    game.SetInterval(c.from);
    game.SpeedUp(c.by);
    EXPECT_EQ(game.GetInterval(), c.want) << c.from;
  }
}

TEST(Game, RoamersTakeSingleStepsAndStayInside) {
  Game game;
  for (int round = 0; round < 2000; ++round) {
    int before[RoamerCount][2];
    for (int i = 0; i < RoamerCount; ++i) {
      before[i][0] = game.RoamerAt(i).GetX();
      before[i][1] = game.RoamerAt(i).GetY();
    }
    game.MoveRoamers();
    for (int i = 0; i < RoamerCount; ++i) {
      int x = game.RoamerAt(i).GetX(), y = game.RoamerAt(i).GetY();
      ASSERT_GE(x, 1);
      ASSERT_LE(x, 28);
      ASSERT_GE(y, 1);
      ASSERT_LE(y, 28);
      ASSERT_LE(std::abs(x - before[i][0]), 1);
      ASSERT_LE(std::abs(y - before[i][1]), 1);
    }
  }
}

TEST(Game, ScatterPickupsReplacesAllTen) {
  Game game;
  for (int i = 0; i < PickupCount; ++i) PlacePickup(game, i, 0, 0, Grow3);
  game.ScatterPickups();
  int stillAtOrigin = 0;
  for (int i = 0; i < PickupCount; ++i) stillAtOrigin += game.PickupAt(i).At(0, 0) ? 1 : 0;
  EXPECT_LT(stillAtOrigin, PickupCount);
}

}  // namespace

namespace {

TEST(Game, LoadsTheRankingFromTheCurrentDirectory) {
  {
    std::FILE* f = std::fopen("Ranking.dat", "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("[1]\r\nName=Taro\r\nBody=12\r\nScore=345\r\n", f);
    std::fclose(f);
  }
  Game game;
  std::remove("Ranking.dat");
  EXPECT_EQ(game.Ranking().ScoreAt(0), 345);
  EXPECT_EQ(game.Ranking().BodyAt(0), 12);
  EXPECT_STREQ(game.Ranking().NameAt(0), "Taro");
  EXPECT_STREQ(game.Ranking().NameAt(1), "No Name");
  EXPECT_EQ(game.GetState(), Playing);
}

}  // namespace
