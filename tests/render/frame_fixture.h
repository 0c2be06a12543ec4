// A Game whose drawing resources come from a synthetic sheet and board tile with known
// colours, composing into a 640 by 480 canvas.
#pragma once

#include <gtest/gtest.h>

#include "game/game.h"
#include "tests/render/canvas.h"

namespace render_test {

constexpr Rgb Sentinel = RgbOf(12, 34, 56);
constexpr Rgb Black = RgbOf(0, 0, 0);

// The board tile: four flat 16 by 16 squares, every channel of every square non-zero.
Rgb TileAt(int x, int y);
// The board's pixel (x, y) under nothing but the background.
inline Rgb BoardAt(int x, int y) { return TileAt(x % 32, y % 32); }

// The sheet: every tile a flat 10 by 10 square of its own colour (pixels 3 to 12) on its
// key colour; the roamer's key colour differs from the others' cyan.
Rgb SheetAt(int x, int y);
Rgb FigureColour(int column, int row);
inline Rgb HeadColour(int dir) { return FigureColour(dir, 1); }
inline Rgb BodyColour(int dir) { return FigureColour(dir, 2); }
inline Rgb TailColour(int dir) { return FigureColour(dir, 3); }
inline Rgb PickupColour(int kind) { return FigureColour(kind + 1, 0); }
inline Rgb RoamerColour() { return FigureColour(0, 0); }

struct Cell {
  int x;
  int y;
  Direction dir;
};

// Removes Ranking.dat from the working directory, so that every test's Game starts from
// the default ranking whatever an earlier test wrote.
struct NoRankingFile {
  NoRankingFile();
};

class FrameTest : public ::testing::Test {
 protected:
  FrameTest();

  // Composes a frame and presents it one to one on the canvas.
  void Frame();
  // The colour at the middle of a cell's sprite.
  Rgb CellColour(int x, int y) const { return canvas.At(CellSize * x + 8, CellSize * y + 8); }
  // The head and the body cells (index 0 behind the head), nothing else of the snake.
  void PlaceSnake(Cell headCell, std::initializer_list<Cell> cells);
  // True when no pickup and no roamer is on the cell.
  bool Free(int x, int y) const;
  // The first free cell at or after (x, y) in reading order.
  Cell FreeCellFrom(int x, int y) const;

  NoRankingFile noRankingFile;
  Canvas canvas;
  Game game;
};

}  // namespace render_test
