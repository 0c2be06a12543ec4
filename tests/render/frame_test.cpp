// The frame: background, pickups, snake and roamers in their order, the panel strip's
// clearing, presentation at any client size, the overlays' presence and the tint box.
#include <gtest/gtest.h>

#include "render/surface.h"
#include "tests/render/frame_fixture.h"

namespace render_test {
namespace {


TEST_F(FrameTest, BackgroundCoversTheBoardAndThePanelStripIsBlack) {
  PlaceSnake({0, 0, Down}, {});
  Frame();
  int wrongBoard = 0;
  for (int cy = 0; cy < BoardSize; ++cy)
    for (int cx = 0; cx < BoardSize; ++cx) {
      if (!Free(cx, cy) || (cx == 0 && cy == 0)) continue;
      for (int y = 16 * cy; y < 16 * cy + 16; ++y)
        for (int x = 16 * cx; x < 16 * cx + 16; ++x) wrongBoard += canvas.At(x, y) != BoardAt(x, y);
    }
  EXPECT_EQ(wrongBoard, 0);
  // Between the counters and the legend, and below the key guide, the strip holds nothing.
  int lit = 0;
  for (int x = 480; x < 640; ++x) {
    for (int y = 125; y < 195; ++y) lit += canvas.At(x, y) != Black;
    for (int y = 440; y < 480; ++y) lit += canvas.At(x, y) != Black;
  }
  EXPECT_EQ(lit, 0);
}

TEST_F(FrameTest, PanelStripIsClearedOnEveryFrame) {
  // A head at column 30 (after running off the right edge) is drawn at the strip's left
  // edge; once it is gone, nothing of it stays.
  PlaceSnake({30, 8, Right}, {});
  Frame();
  EXPECT_EQ(CellColour(30, 8), HeadColour(Right));
  PlaceSnake({3, 3, Right}, {});
  Frame();
  EXPECT_EQ(CellColour(30, 8), Black);
}

TEST_F(FrameTest, SnakeCellsShowTheSpriteOfTheirPartAndDirection) {
  for (Direction dir : {Up, Right, Down, Left}) {
    SCOPED_TRACE(dir);
    const Cell head = FreeCellFrom(2, 4 + 5 * dir);
    const Cell neck = FreeCellFrom(head.x + 1, head.y);
    const Cell tail = FreeCellFrom(neck.x + 1, neck.y);
    PlaceSnake({head.x, head.y, dir}, {{neck.x, neck.y, dir}, {tail.x, tail.y, dir}});
    Frame();
    EXPECT_EQ(CellColour(head.x, head.y), HeadColour(dir));
    EXPECT_EQ(CellColour(neck.x, neck.y), BodyColour(dir));
    EXPECT_EQ(CellColour(tail.x, tail.y), TailColour(dir));
  }
}

TEST_F(FrameTest, CellsStackedByGrowthShowAsBodyUntilTheyUnfold) {
  const Cell h = FreeCellFrom(4, 12);
  const Cell n = FreeCellFrom(h.x + 1, h.y);
  const Cell t = FreeCellFrom(n.x + 1, n.y);
  PlaceSnake({h.x, h.y, Left}, {{n.x, n.y, Left}, {t.x, t.y, Up}});
  game.Grow(3);  // three cells stacked on the tail
  Frame();
  EXPECT_EQ(CellColour(t.x, t.y), BodyColour(Up)) << "the stacked cells cover the tail tip";
  game.BodyAt(4).SetActive(0);
  game.BodyAt(3).SetActive(0);
  game.BodyAt(2).SetActive(0);
  Frame();
  EXPECT_EQ(CellColour(t.x, t.y), TailColour(Up));
}

TEST_F(FrameTest, LaterLayersCoverEarlierOnes) {
  // A pickup under the snake is hidden; a roamer on the snake covers it; the head covers
  // the body cell it ran into.
  const Pickup& pickup = game.PickupAt(PickupCount - 1);  // drawn last of the pickups
  game.RoamerAt(0).Place(20, 20);
  const Cell h = FreeCellFrom(10, 20);
  PlaceSnake({h.x, h.y, Up},
             {{pickup.GetX(), pickup.GetY(), Right}, {20, 20, Right}, {h.x, h.y, Right}, {1, 28, Right}});
  Frame();
  EXPECT_EQ(CellColour(pickup.GetX(), pickup.GetY()), BodyColour(Right));
  EXPECT_EQ(CellColour(20, 20), RoamerColour());
  EXPECT_EQ(CellColour(h.x, h.y), HeadColour(Up));

  PlaceSnake({h.x, h.y, Up}, {});
  Frame();
  EXPECT_EQ(CellColour(pickup.GetX(), pickup.GetY()), PickupColour(pickup.GetKind()));
}

struct ClientSize {
  int width;
  int height;
};

class PresentTest : public FrameTest, public ::testing::WithParamInterface<ClientSize> {};

TEST_P(PresentTest, StretchesTheWholeFrameWithHalftoning) {
  const ClientSize size = GetParam();
  PlaceSnake({2, 2, Down}, {});
  Canvas client(size.width, size.height, Sentinel);
  game.ComposeFrame();
  game.PresentFrame(client.Dc(), size.width, size.height);
  EXPECT_EQ(GetStretchBltMode(client.Dc()), HALFTONE);

  int sentinels = 0;
  for (int y = 0; y < size.height; ++y)
    for (int x = 0; x < size.width; ++x) sentinels += client.At(x, y) == Sentinel;
  EXPECT_EQ(sentinels, 0) << "the frame covers the whole client area";

  // The middle of a flat square of the board and of the panel's empty strip land where the
  // scale puts them, with their colour.
  const auto scaled = [&](int x, int y) { return client.At(x * size.width / 640, y * size.height / 480); };
  const Cell c = FreeCellFrom(12, 12);
  EXPECT_EQ(scaled(16 * c.x + 8, 16 * c.y + 8), BoardAt(16 * c.x + 8, 16 * c.y + 8));
  EXPECT_EQ(scaled(560, 160), Black);
}

INSTANTIATE_TEST_SUITE_P(ClientSizes, PresentTest,
                         ::testing::Values(ClientSize{640, 479}, ClientSize{641, 480}, ClientSize{1280, 960},
                                           ClientSize{320, 240}, ClientSize{800, 600}),
                         [](const auto& info) {
                           return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST_F(FrameTest, PresentAtTheFrameSizeIsAOneToOneCopy) {
  // At 640 by 480 even the edges between the board's squares stay sharp; stretched to
  // twice the size they are blended.
  PlaceSnake({2, 2, Down}, {});
  Frame();
  int wrong = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 480; ++x)
      if (Free(x / 16, y / 16) && !(x / 16 == 2 && y / 16 == 2)) wrong += canvas.At(x, y) != BoardAt(x, y);
  EXPECT_EQ(wrong, 0);

  Canvas large(1280, 960, Sentinel);
  game.PresentFrame(large.Dc(), 1280, 960);
  const Cell c = FreeCellFrom(12, 12);
  int blended = 0;
  const int y = 2 * (16 * c.y + 8);
  for (int x = 2 * 16 * c.x; x < 2 * 16 * (c.x + 1); ++x) {
    const Rgb left = BoardAt(16 * c.x, 16 * c.y + 8);
    const Rgb right = BoardAt(16 * c.x + 15, 16 * c.y + 8);
    blended += large.At(x, y) != left && large.At(x, y) != right;
  }
  EXPECT_GT(blended, 0) << "a halftone stretch blends neighbouring colours";
}

int CountColour(const Canvas& canvas, Rgb colour, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) count += canvas.At(x, y) == colour;
  return count;
}

TEST_F(FrameTest, OnlyPausedAndGameOverShowTheirOverlays) {
  PlaceSnake({2, 2, Down}, {});
  const Rgb blue = RgbOf(0, 0, 255);
  const Rgb red = RgbOf(255, 0, 0);
  const Rgb green = RgbOf(0, 255, 0);
  const Rgb white = RgbOf(255, 255, 255);
  // Paused: a blue title over a green shadow; GameOver: a red title over a blue shadow;
  // both with the white prompt.
  const struct {
    PlayState state;
    bool blue, red, green, prompt;
  } cases[] = {
      {Playing, false, false, false, false}, {Paused, true, false, true, true}, {GameOver, true, true, false, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    game.SetState(c.state);
    Frame();
    // The titles lie over the board at y 30 to 81, the prompt at y 430 to 461.
    EXPECT_EQ(CountColour(canvas, blue, 80, 30, 480, 82) > 20, c.blue);
    EXPECT_EQ(CountColour(canvas, red, 80, 30, 480, 82) > 20, c.red);
    EXPECT_EQ(CountColour(canvas, green, 80, 30, 480, 82) > 20, c.green);
    EXPECT_EQ(CountColour(canvas, white, 50, 430, 480, 462) > 20, c.prompt);
  }
}

TEST_F(FrameTest, TintBoxKeepsOnlyBlueInsideAndNothingChangesOutside) {
  PlaceSnake({2, 2, Down}, {});
  Frame();
  Canvas playing(640, 480);
  game.PresentFrame(playing.Dc(), 640, 480);
  game.SetState(Paused);
  Frame();

  // Inside the box (x 20 to 459, y 80 to 429), away from the ranking rows' texts.
  const auto inRankingRow = [](int y) {
    for (int i = 0; i < 5; ++i)
      if (y >= 110 + 68 * i && y < 136 + 68 * i) return true;
    return false;
  };
  int wrongInside = 0;
  for (int y = 80; y < 430; ++y)
    for (int x = 20; x < 460; ++x)
      if (!inRankingRow(y)) wrongInside += canvas.At(x, y) != (playing.At(x, y) & 0x0000FF);
  EXPECT_EQ(wrongInside, 0);
  // The box's edges: the pixels just outside it keep their colour.
  int wrongOutside = 0;
  for (int y = 80; y < 430; ++y) {
    for (int x = 0; x < 20; ++x) wrongOutside += canvas.At(x, y) != playing.At(x, y);
    wrongOutside += canvas.At(460, y) != playing.At(460, y);
  }
  for (int x = 0; x < 480; ++x) wrongOutside += canvas.At(x, 20) != playing.At(x, 20);
  for (int x = 0; x < 480; ++x) wrongOutside += canvas.At(x, 470) != playing.At(x, 470);
  EXPECT_EQ(wrongOutside, 0);
}

TEST_F(FrameTest, TenThousandFramesLeaveNoObjectBehind) {
  SKIP_UNLESS_OBJECTS_ARE_COUNTED();
  PlaceSnake({2, 2, Down}, {{2, 1, Down}, {2, 0, Down}});
  const std::size_t before = LiveObjectCount();
  const PlayState states[] = {Playing, Paused, GameOver};
  for (int i = 0; i < 10000; ++i) {
    game.SetState(states[i % 3]);
    game.ComposeFrame();
  }
  EXPECT_EQ(LiveObjectCount(), before);
}

}  // namespace
}  // namespace render_test

namespace render_test {
namespace {

TEST(MissingBitmaps, FrameStillComposesWithThePanel) {
  // Without its bitmaps a Surface holds a DC and a null bitmap: its tiles and sprites
  // draw no picture, and the rest of the frame is drawn as always.
  NoRankingFile noRankingFile;
  Canvas canvas(640, 480, Sentinel);
  Game game;
  game.CreateBackBuffer(canvas.Dc(), 640, 480);
  game.AttachBackground(canvas.Dc(), NULL, 32, 32);
  Surface sheet;
  sheet.Attach(canvas.Dc(), NULL, 64, 64);
  game.BuildSprites(sheet);
  sheet.Release();
  const std::size_t before = LiveObjectCount();
  game.ComposeFrame();
  game.PresentFrame(canvas.Dc(), 640, 480);
  EXPECT_EQ(LiveObjectCount(), before);

  int sentinels = 0, white = 0;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      sentinels += canvas.At(x, y) == Sentinel;
      white += x >= 480 && y < 40 && canvas.At(x, y) == RgbOf(255, 255, 255);
    }
  EXPECT_EQ(sentinels, 0);
  EXPECT_GT(white, 20) << "the panel's title";
}

}  // namespace
}  // namespace render_test
