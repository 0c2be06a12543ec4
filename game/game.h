// The one game in progress: the snake, the pickups, the roamers, the play state, the
// timer interval and the score, with the rules of play.
#pragma once

#include <cstdint>

#include "game/board.h"
#include "game/pickup.h"
#include "game/roamer.h"
#include "game/segment.h"
#include "platform/win32.h"
#include "ranking/ranking_table.h"
#include "render/masked_sprite.h"
#include "render/surface.h"

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
  RankingTable& Ranking() { return ranking; }
  const RankingTable& Ranking() const { return ranking; }

  // Drawing (defined in render/). The frame is 640 by 480: the board on the left, the
  // panel in the 160-pixel strip on its right.
  // backBuffer.CreateBlank: a black width by height surface in hdc's format.
  void CreateBackBuffer(HDC hdc, int width, int height);
  // background.Attach: the board tile; the Game owns the bitmap from then on.
  void AttachBackground(HDC hdc, HBITMAP bitmap, int width, int height);
  // Cuts the sixteen sprites from the sprite sheet, which stays with the caller.
  void BuildSprites(const Surface& sheet);
  // Composes the frame and presents it on hdc, which covers hwnd's client area.
  void Paint(HWND hwnd, HDC hdc);
  // Draws the whole frame into the back buffer from the current state.
  void ComposeFrame();
  // Copies the back buffer onto hdc: one to one at 640 by 480, stretched with halftoning
  // to width by height otherwise.
  void PresentFrame(HDC hdc, int width, int height);
  // The steps of the frame, each drawing into the back buffer.
  void DrawBackground();
  void DrawPickups();
  void DrawSnake();
  void DrawRoamers();
  void DrawPanel();
  // Draws text at (x, y), its top-left corner, with a font made for this one text.
  void DrawString(const char* text, int x, int y, int height, BOOL bold, BOOL italic, COLORREF colour,
                  const char* face);
  // ANDs every pixel of the rectangle with colour.
  void TintBox(int x, int y, int width, int height, COLORREF colour);

 private:
  Segment head;
  // The frame's drawing resources, in the order they are created: being members, they are
  // destroyed in the reverse order, each sprite array from its last element to its first.
  Surface backBuffer;            // the frame is composed here
  Surface background;            // the 32 by 32 board tile
  MaskedSprite headSprites[4];   // by Direction
  MaskedSprite bodySprites[4];   // by Direction
  MaskedSprite tailSprites[4];   // by Direction
  MaskedSprite pickupSprites[3]; // by PickupKind
  MaskedSprite roamerSprite;
  Segment body[MaxBody];  // active cells form an unbroken run from index 0 (behind the head)
  Pickup pickups[PickupCount];
  Roamer roamers[RoamerCount];
  PlayState state;
  std::int32_t interval;  // milliseconds between steps
  std::int32_t score;
  RankingTable ranking;  // the top five, loaded from Ranking.dat
};
