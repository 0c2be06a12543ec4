// The one game in progress: the snake, the pickups, the roamers, the play state, the
// timer interval and the score, with the rules of play.
#pragma once

#include <cstdint>

#include "game/board.h"
#include "game/pickup.h"
#include "game/roamer.h"
#include "game/segment.h"

class Game {
 public:
  // Places the snake at the top-left cell heading down with no body, scatters the
  // pickups, drops the roamers at random and starts Playing.
  Game();

  // Moves the snake one cell in the head's direction; every body cell takes the place and
  // direction of the cell ahead of it.
  void Advance();
  // False when the head has hit a roamer, its own body or the edge; otherwise eats every
  // pickup under the head and returns true.
  bool CheckHead();
  // Adds n body cells stacked on the tail (never beyond MaxBody).
  void Grow(int n);
  // Removes the last n body cells (all of them when there are fewer).
  void Shrink(int n);
  int BodyLength() const;
  // False exactly when turning to dir would point the head into the cell behind it.
  bool CanTurn(Direction dir) const;
  // Points the head to dir if the game is Playing, dir is a new direction and CanTurn
  // allows it; the turn takes effect at the next Advance. Returns whether it turned.
  bool Turn(Direction dir);
  // Reseeds the random generator from the clock and re-places all pickups.
  void ScatterPickups();
  // Every roamer takes one random step (one of the eight neighbours).
  void MoveRoamers();
  // Shortens the timer interval by ms, never below 1.
  void SpeedUp(int ms);
  void AddScore(int points) { score += points; }

  PlayState GetState() const { return state; }
  void SetState(PlayState newState) { state = newState; }
  int GetInterval() const { return interval; }
  void SetInterval(int ms) { interval = ms; }
  int GetScore() const { return score; }
  void SetScore(int points) { score = points; }

  Segment& Head() { return head; }
  const Segment& Head() const { return head; }
  Segment& BodyAt(int i) { return body[i]; }
  const Segment& BodyAt(int i) const { return body[i]; }
  Pickup& PickupAt(int i) { return pickups[i]; }
  const Pickup& PickupAt(int i) const { return pickups[i]; }
  Roamer& RoamerAt(int i) { return roamers[i]; }
  const Roamer& RoamerAt(int i) const { return roamers[i]; }

 private:
  Segment head;
  // The frame's drawing members (back buffer, background tile, sprites) sit here, between
  // the head and the body.
  Segment body[MaxBody];  // active cells form an unbroken run from index 0 (behind the head)
  Pickup pickups[PickupCount];
  Roamer roamers[RoamerCount];
  PlayState state;
  std::int32_t interval;  // milliseconds between steps
  std::int32_t score;
};
