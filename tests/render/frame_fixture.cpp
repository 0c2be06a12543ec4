#include "tests/render/frame_fixture.h"

#include <cstdio>
#include <cstdlib>

#include "render/surface.h"

namespace render_test {

Rgb TileAt(int x, int y) {
  // Far from every text colour, grey included, so that text pixels can be told apart.
  static constexpr Rgb Squares[4] = {RgbOf(200, 150, 100), RgbOf(60, 110, 170), RgbOf(170, 90, 40), RgbOf(90, 180, 60)};
  return Squares[(x / 16) % 2 + 2 * ((y / 16) % 2)];
}

Rgb FigureColour(int column, int row) { return RgbOf(60 + 50 * column, 20 + 60 * row, 230 - 15 * column - 5 * row); }

Rgb SheetAt(int x, int y) {
  const int column = x / 16;
  const int row = y / 16;
  const int lx = x % 16;
  const int ly = y % 16;
  if (lx >= 3 && lx <= 12 && ly >= 3 && ly <= 12) return FigureColour(column, row);
  return column == 0 && row == 0 ? RgbOf(250, 250, 0) : RgbOf(0, 255, 255);
}

NoRankingFile::NoRankingFile() { std::remove("Ranking.dat"); }

FrameTest::FrameTest() : canvas(640, 480, Sentinel) {
  game.CreateBackBuffer(canvas.Dc(), 640, 480);
  game.AttachBackground(canvas.Dc(), MakeBitmap(canvas.Dc(), 32, 32, TileAt), 32, 32);
  Surface sheet;
  sheet.Attach(canvas.Dc(), MakeBitmap(canvas.Dc(), 64, 64, SheetAt), 64, 64);
  game.BuildSprites(sheet);

  // The same board every run: pickups from a fixed seed, roamers in the bottom row.
  std::srand(7);
  for (int i = 0; i < PickupCount; ++i) game.PickupAt(i).Respawn();
  for (int i = 0; i < RoamerCount; ++i) game.RoamerAt(i).Place(26 + i, 28);
}

void FrameTest::Frame() {
  game.ComposeFrame();
  game.PresentFrame(canvas.Dc(), 640, 480);
}

void FrameTest::PlaceSnake(Cell headCell, std::initializer_list<Cell> cells) {
  game.Shrink(MaxBody);
  game.Head().Set(headCell.x, headCell.y, headCell.dir);
  int i = 0;
  for (const Cell& cell : cells) {
    game.BodyAt(i).Assign(cell.x, cell.y, cell.dir);
    game.BodyAt(i).SetActive(1);
    ++i;
  }
}

bool FrameTest::Free(int x, int y) const {
  for (int i = 0; i < PickupCount; ++i)
    if (game.PickupAt(i).At(x, y)) return false;
  for (int i = 0; i < RoamerCount; ++i)
    if (game.RoamerAt(i).At(x, y)) return false;
  return true;
}

Cell FrameTest::FreeCellFrom(int x, int y) const {
  for (int i = y * BoardSize + x; i < BoardSize * BoardSize; ++i)
    if (Free(i % BoardSize, i / BoardSize)) return {i % BoardSize, i / BoardSize, Up};
  ADD_FAILURE() << "no free cell from (" << x << ", " << y << ")";
  return {x, y, Up};
}

}  // namespace render_test
