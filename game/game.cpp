#include "game/game.h"

#include <cstdlib>
#include <ctime>

#include "sound/effects.h"

namespace {

struct Step {
  int dx;
  int dy;
};

// The step from a cell to its neighbour in dir; {0, 0} for a value that is no direction.
Step StepOf(Direction dir) {
  switch (dir) {
    case Up:
      return {0, -1};
    case Right:
      return {1, 0};
    case Down:
      return {0, 1};
    case Left:
      return {-1, 0};
  }
  return {0, 0};
}

// A roamer's step for each of the eight values of rand() % 8, clockwise from up.
constexpr Step RoamerSteps[8] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};

}  // namespace

Game::Game() {
  head.Set(0, 0, Down);
  head.SetActive(1);
  for (Segment& cell : body) {
    cell.Set(0, 0, Down);
    cell.SetActive(0);
  }
  ScatterPickups();
  for (Roamer& roamer : roamers) {
    int y = std::rand() % BoardSize;
    int x = std::rand() % BoardSize;
    roamer.Place(x, y);
  }
  state = Playing;
  interval = StartInterval;
  score = 0;
}

void Game::Advance() {
  int carriedX = head.GetX();
  int carriedY = head.GetY();
  Direction carriedDir = head.GetDir();
  for (Segment& cell : body) {
    if (!cell.GetActive()) break;
    int x = cell.GetX();
    int y = cell.GetY();
    Direction dir = cell.GetDir();
    cell.Assign(carriedX, carriedY, carriedDir);
    carriedX = x;
    carriedY = y;
    carriedDir = dir;
  }
  Step step = StepOf(head.GetDir());
  head.Set(head.GetX() + step.dx, head.GetY() + step.dy, head.GetDir());
}

bool Game::CheckHead() {
  const int x = head.GetX();
  const int y = head.GetY();
  for (const Roamer& roamer : roamers)
    if (roamer.At(x, y)) return false;
  for (const Segment& cell : body)
    if (cell.Occupies(x, y)) return false;
  if (x < 0 || x >= BoardSize || y < 0 || y >= BoardSize) return false;

  for (Pickup& pickup : pickups) {
    if (!pickup.At(x, y)) continue;
    switch (pickup.GetKind()) {
      case Grow3:
        Grow(3);
        AddScore(3);
        break;
      case Grow5:
        Grow(5);
        AddScore(5);
        break;
      case Shrink3:
        Shrink(3);
        break;
    }
    PlayPickupSound();
    pickup.Respawn();
  }
  return true;
}

void Game::Grow(int n) {
  const int len = BodyLength();
  const Segment& tail = len > 0 ? body[len - 1] : head;
  const int tailX = tail.GetX();
  const int tailY = tail.GetY();
  const Direction tailDir = tail.GetDir();
  for (int i = len; i < len + n && i < MaxBody; ++i) {
    body[i].SetActive(2);
    body[i].Assign(tailX, tailY, tailDir);
  }
}

void Game::Shrink(int n) {
  const int len = BodyLength();
  for (int i = len; i >= len - n && i >= 0; --i) {
    if (i >= MaxBody) continue;
    body[i].SetActive(0);
    body[i].Set(0, 0, Up);
  }
}

int Game::BodyLength() const {
  int count = 0;
  for (const Segment& cell : body)
    if (cell.GetActive()) ++count;
  return count;
}

bool Game::CanTurn(Direction dir) const {
  if (dir < Up || dir > Left) return true;
  Step step = StepOf(dir);
  return !body[0].Occupies(head.GetX() + step.dx, head.GetY() + step.dy);
}

bool Game::Turn(Direction dir) {
  if (state != Playing || dir == head.GetDir() || !CanTurn(dir)) return false;
  head.Set(head.GetX(), head.GetY(), dir);
  return true;
}

void Game::ScatterPickups() {
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  for (Pickup& pickup : pickups) pickup.Respawn();
}

void Game::MoveRoamers() {
  for (Roamer& roamer : roamers) {
    const Step& step = RoamerSteps[std::rand() % 8];
    roamer.Move(step.dx, step.dy);
  }
}

void Game::SpeedUp(int ms) {
  interval -= ms;
  if (interval <= 0) interval = 1;
}
