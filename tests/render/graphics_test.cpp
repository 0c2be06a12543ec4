// LoadGraphics with the program's own bitmaps, on the screen's DC.
#include "render/graphics.h"

#include <gtest/gtest.h>

#include "game/game.h"
#include "tests/render/canvas.h"

// LoadGraphics fills the program's one Game.
Game game;

namespace render_test {
namespace {


// The back buffer and the board tile (a DC and a bitmap each) and sixteen sprites of two
// Surfaces each; the sprite sheet is gone again.
constexpr std::size_t GraphicsObjects = 2 + 2 + 16 * 4;

TEST(LoadGraphics, KeepsExactlyTheGamesObjectsAndReplacesThemWhenRepeated) {
  SKIP_UNLESS_OBJECTS_ARE_COUNTED();
  const std::size_t before = LiveObjectCount();
  EXPECT_EQ(LoadGraphics(NULL, GetModuleHandleA(NULL)), TRUE);
  EXPECT_EQ(LiveObjectCount(), before + GraphicsObjects);
  LoadGraphics(NULL, GetModuleHandleA(NULL));
  EXPECT_EQ(LiveObjectCount(), before + GraphicsObjects);
}

TEST(LoadGraphics, FrameShowsTheBoardTileAndNoKeyColour) {
  LoadGraphics(NULL, GetModuleHandleA(NULL));
  game.Shrink(MaxBody);
  game.Head().Set(29, 29, Down);
  game.SetState(Playing);
  Canvas client(640, 480);
  game.ComposeFrame();
  game.PresentFrame(client.Dc(), 640, 480);

  // The sprites' cyan ground reaches neither the board nor the legend (the score's text is
  // cyan on purpose).
  int cyan = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 480; ++x) cyan += client.At(x, y) == RgbOf(0, 255, 255);
  for (int y = 195; y < 280; ++y)
    for (int x = 485; x < 525; ++x) cyan += client.At(x, y) == RgbOf(0, 255, 255);
  EXPECT_EQ(cyan, 0);

  // A free cell in an even column and row lies on the tile's raised top-left square: a
  // light top edge over a grey face.
  bool checked = false;
  for (int cy = 0; cy < 28 && !checked; cy += 2)
    for (int cx = 0; cx < 28 && !checked; cx += 2) {
      bool free = true;
      for (int i = 0; i < PickupCount; ++i) free &= !game.PickupAt(i).At(cx, cy);
      for (int i = 0; i < RoamerCount; ++i) free &= !game.RoamerAt(i).At(cx, cy);
      if (!free) continue;
      EXPECT_EQ(client.At(16 * cx + 8, 16 * cy), RgbOf(208, 208, 208));
      EXPECT_EQ(client.At(16 * cx + 8, 16 * cy + 8), RgbOf(160, 160, 164));
      EXPECT_EQ(client.At(16 * cx + 8, 16 * cy + 15), RgbOf(64, 64, 64));
      checked = true;
    }
  EXPECT_TRUE(checked);
}

// Paint reads the client size of the window it paints: a window of any size gets the
// whole frame. It paints on a canvas of the client's size: a window's own DC draws only where
// the window shows on the screen (its visible region), and this window is hidden.
TEST(Paint, StretchesTheFrameOverAWindowsClientArea) {
  LoadGraphics(NULL, GetModuleHandleA(NULL));
  game.Shrink(MaxBody);
  game.Head().Set(29, 29, Down);
  game.SetState(Playing);

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.lpszClassName = "RenderPaintTest";
  RegisterClassExA(&wc);
  for (int width : {640, 900}) {
    SCOPED_TRACE(width);
    HWND hwnd = CreateWindowExA(0, "RenderPaintTest", "paint", WS_OVERLAPPEDWINDOW, 0, 0, width, width * 3 / 4, NULL,
                                NULL, GetModuleHandleA(NULL), NULL);
    ASSERT_NE(hwnd, HWND(NULL));
    RECT client;
    GetClientRect(hwnd, &client);
    ASSERT_GT(client.right, 0);
    ASSERT_GT(client.bottom, 0);
    Canvas canvas(client.right, client.bottom, RgbOf(255, 255, 255));
    game.Paint(hwnd, canvas.Dc());
    // The panel's empty bottom-right corner reaches the client's own corner, and its empty
    // middle lands where the scale puts it.
    EXPECT_EQ(canvas.At(client.right - 1, client.bottom - 1), RgbOf(0, 0, 0));
    EXPECT_EQ(canvas.At(560 * client.right / 640, 160 * client.bottom / 480), RgbOf(0, 0, 0));
    EXPECT_EQ(GetStretchBltMode(canvas.Dc()), HALFTONE);
    DestroyWindow(hwnd);
  }
}

}  // namespace
}  // namespace render_test
