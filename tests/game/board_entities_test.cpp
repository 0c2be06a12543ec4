#include <gtest/gtest.h>

#include <cstdlib>

#include "game/pickup.h"
#include "game/roamer.h"
#include "game/segment.h"

namespace {

TEST(Segment, SetKeepsCoordinatesOnTheRingAroundTheBoard) {
  struct Case {
    int x, y, wantX, wantY;
  } cases[] = {{31, -5, 30, -1}, {-1, 30, -1, 30}, {15, 15, 15, 15}, {-100, 100, -1, 30}, {30, -1, 30, -1}};
  for (const Case& c : cases) {
    Segment s;
    s.SetActive(7);
    s.Set(c.x, c.y, Left);
    EXPECT_EQ(s.GetX(), c.wantX) << c.x;
    EXPECT_EQ(s.GetY(), c.wantY) << c.y;
    EXPECT_EQ(s.GetDir(), Left);
    EXPECT_EQ(s.GetActive(), 7) << "Set must not touch the active flag";
  }
}

TEST(Segment, AssignDoesNotClamp) {
  Segment s;
  s.SetActive(0);
  s.Assign(45, -9, Up);
  EXPECT_EQ(s.GetX(), 45);
  EXPECT_EQ(s.GetY(), -9);
  EXPECT_EQ(s.GetActive(), 0);
}

TEST(Segment, OnlyAnActiveCellOccupiesItsPlace) {
  Segment s;
  s.Set(4, 5, Down);
  s.SetActive(0);
  EXPECT_FALSE(s.Occupies(4, 5));
  s.SetActive(2);
  EXPECT_TRUE(s.Occupies(4, 5));
  EXPECT_FALSE(s.Occupies(5, 4));
}

TEST(Roamer, StaysOffTheOutermostRing) {
  struct Case {
    int x, y, wantX, wantY;
  } cases[] = {{0, 29, 1, 28}, {29, 0, 28, 1}, {15, 15, 15, 15}, {-7, 40, 1, 28}, {1, 28, 1, 28}};
  for (const Case& c : cases) {
    Roamer r;
    r.Place(c.x, c.y);
    EXPECT_EQ(r.GetX(), c.wantX);
    EXPECT_EQ(r.GetY(), c.wantY);
  }
  Roamer r;
  r.Place(1, 28);
  r.Move(-1, 1);  // pushed against the corner, it stays there
  EXPECT_TRUE(r.At(1, 28));
}

TEST(Pickup, RespawnStaysOnTheBoardWithKindsTwoToTwoToOne) {
  std::srand(12345);
  int kinds[3] = {};
  Pickup p;
  for (int i = 0; i < 50000; ++i) {
    p.Respawn();
    ASSERT_GE(p.GetX(), 0);
    ASSERT_LT(p.GetX(), 30);
    ASSERT_GE(p.GetY(), 0);
    ASSERT_LT(p.GetY(), 30);
    ASSERT_GE(p.GetKind(), Grow3);
    ASSERT_LE(p.GetKind(), Shrink3);
    ++kinds[p.GetKind()];
  }
  // 2 : 2 : 1 of 50000 is 20000 : 20000 : 10000.
  EXPECT_NEAR(kinds[Grow3], 20000, 800);
  EXPECT_NEAR(kinds[Grow5], 20000, 800);
  EXPECT_NEAR(kinds[Shrink3], 10000, 800);
}

TEST(Pickup, AtSegmentComparesPlacesOnly) {
  std::srand(1);
  Pickup p;
  p.Respawn();
  Segment s;
  s.SetActive(0);
  s.Assign(p.GetX(), p.GetY(), Up);
  EXPECT_TRUE(p.AtSegment(s));
  s.Assign(p.GetX() + 1, p.GetY(), Up);
  EXPECT_FALSE(p.AtSegment(s));
}

}  // namespace
