// Checks the committed sprite sheet, read back from resources/sprites.bmp, against what the
// game relies on: the tile layout, the key colour, the main colours and which way each
// figure faces.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tests/tools/art/picture_reader.h"

namespace arttest {
namespace {

constexpr Colour kKey{0, 255, 255};
constexpr Colour kWhite{255, 255, 255};
constexpr Colour kBlack{0, 0, 0};
constexpr Colour kMagenta{255, 56, 255};
constexpr Colour kRib{224, 0, 224};
constexpr Colour kRoamerEye{255, 0, 255};

enum Direction { Up, Right, Down, Left };
const char* const kDirections[] = {"Up", "Right", "Down", "Left"};
constexpr int kStepX[] = {0, 1, 0, -1};  // y grows downwards
constexpr int kStepY[] = {-1, 0, 1, 0};

struct Pixel {
  double x, y;
};
using Pixels = std::vector<Pixel>;

// One 16 by 16 tile of the sheet, in tile coordinates.
struct Tile {
  int x0, y0;
  Tile(int column, int row) : x0(column * 16), y0(row * 16) {
    static const Picture sheet = ReadBmp(ReadFile(PORONGO_SOURCE_DIR "/resources/sprites.bmp"));
    picture = &sheet;
  }
  const Picture* picture;

  const Colour& at(int x, int y) const { return picture->at(x0 + x, y0 + y); }
  bool figure(int x, int y) const { return x >= 0 && y >= 0 && x < 16 && y < 16 && !(at(x, y) == kKey); }
  // Off the outline: all four neighbours are figure too.
  bool inner(int x, int y) const {
    return figure(x, y) && figure(x - 1, y) && figure(x + 1, y) && figure(x, y - 1) && figure(x, y + 1);
  }
  Pixels Where(const std::function<bool(int, int)>& test) const {
    Pixels found;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (test(x, y)) found.push_back({static_cast<double>(x), static_cast<double>(y)});
    return found;
  }
  Pixels OfColour(Colour c) const { return Where([&](int x, int y) { return at(x, y) == c; }); }
};

// Splits pixels into pieces connected through their sides, and their corners with `diagonal`.
std::vector<Pixels> Pieces(Pixels rest, bool diagonal = true) {
  std::vector<Pixels> pieces;
  while (!rest.empty()) {
    Pixels piece{rest.back()};
    rest.pop_back();
    for (std::size_t i = 0; i < piece.size(); ++i)
      for (std::size_t j = rest.size(); j-- > 0;)
        if (const double dx = std::abs(rest[j].x - piece[i].x), dy = std::abs(rest[j].y - piece[i].y);
            diagonal ? dx <= 1 && dy <= 1 : dx + dy <= 1) {
          piece.push_back(rest[j]);
          rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(j));
        }
    pieces.push_back(piece);
  }
  return pieces;
}

Pixel Middle(const Pixels& pixels) {
  Pixel m{0, 0};
  for (const Pixel& p : pixels) m.x += p.x / static_cast<double>(pixels.size()), m.y += p.y / static_cast<double>(pixels.size());
  return m;
}

// A pixel's offset from the tile's middle, along a direction and across it.
double Along(Pixel p, int d) { return (p.x - 7.5) * kStepX[d] + (p.y - 7.5) * kStepY[d]; }
double Across(Pixel p, int d) { return (p.x - 7.5) * kStepY[d] - (p.y - 7.5) * kStepX[d]; }

struct TileCase {
  std::string name;
  int column, row;
  std::vector<Colour> colours;  // main colours that must show
  friend void PrintTo(const TileCase& c, std::ostream* os) { *os << c.name; }
};

std::vector<TileCase> Tiles() {
  std::vector<TileCase> tiles{{"Roamer", 0, 0, {{48, 48, 48}, kRoamerEye}},
                              {"Grow3", 1, 0, {{28, 255, 28}, kWhite}},
                              {"Grow5", 2, 0, {{28, 28, 255}, kWhite}},
                              {"Shrink3", 3, 0, {{255, 255, 28}, kWhite}}};
  for (int d = Up; d <= Left; ++d) {
    tiles.push_back({std::string("Head") + kDirections[d], d, 1, {{255, 56, 56}, kWhite, kBlack}});
    tiles.push_back({std::string("Body") + kDirections[d], d, 2, {kMagenta, kRib}});
    tiles.push_back({std::string("Tail") + kDirections[d], d, 3, {kMagenta, kRib}});
  }
  return tiles;
}

class EveryTile : public testing::TestWithParam<TileCase> {};

TEST_P(EveryTile, FigureStandsWholeOnKeyColour) {
  const Tile tile(GetParam().column, GetParam().row);
  EXPECT_EQ(tile.at(0, 0), kKey) << "the game takes the top-left pixel as the key";
  EXPECT_TRUE(tile.at(15, 0) == kKey && tile.at(0, 15) == kKey && tile.at(15, 15) == kKey);
  EXPECT_EQ(Pieces(tile.Where([&](int x, int y) { return tile.figure(x, y); })).size(), 1u) << "one figure";
  // Every piece of key colour reaches the tile's edge: none is shut in by the figure, where
  // it would punch a hole in the sprite.
  for (const Pixels& piece : Pieces(tile.OfColour(kKey), false)) {
    bool edge = false;
    for (const Pixel& p : piece) edge |= p.x == 0 || p.y == 0 || p.x == 15 || p.y == 15;
    EXPECT_TRUE(edge) << "key shut in at " << piece[0].x << "," << piece[0].y;
  }
  for (const Colour& c : GetParam().colours) EXPECT_GE(tile.OfColour(c).size(), 4u) << c.r << "," << c.g << "," << c.b;
  // On a 5-6-5 screen a colour next to cyan would turn into the key and vanish.
  for (const Pixel& p : tile.Where([&](int x, int y) { return tile.figure(x, y); })) {
    const Colour& v = tile.at(static_cast<int>(p.x), static_cast<int>(p.y));
    EXPECT_FALSE(v.r >> 3 == 0 && v.g >> 2 == 63 && v.b >> 3 == 31) << p.x << "," << p.y;
  }
}

INSTANTIATE_TEST_SUITE_P(SpriteSheet, EveryTile, testing::ValuesIn(Tiles()),
                         [](const auto& info) { return info.param.name; });

TEST(SpriteSheet, IsA64By64BitmapAt8BitsPerPixelWithRoundBalls) {
  const Tile first(0, 0);
  EXPECT_EQ(first.picture->width, 64);
  EXPECT_EQ(first.picture->height, 64);
  EXPECT_EQ(first.picture->bits, 8);
  // Every figure but the tails is a ball 16 pixels across: unchanged by a quarter turn.
  for (const TileCase& c : Tiles()) {
    if (c.row == 3) continue;
    const Tile tile(c.column, c.row);
    EXPECT_TRUE(tile.figure(0, 7) && tile.figure(7, 0)) << c.name;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) ASSERT_EQ(tile.figure(x, y), tile.figure(15 - y, x)) << c.name << " " << x << "," << y;
  }
}

class EveryDirection : public testing::TestWithParam<int> {};

TEST_P(EveryDirection, HeadLooksTheWayItGoes) {
  const int d = GetParam();
  const Tile head(d, 1);
  const auto eyes = Pieces(head.Where([&](int x, int y) { return head.at(x, y) == kWhite || head.at(x, y) == kBlack; }));
  ASSERT_EQ(eyes.size(), 2u);
  const Pixel a = Middle(eyes[0]), b = Middle(eyes[1]);
  EXPECT_GT(Along(a, d), 2.0) << "eyes in the front half";
  EXPECT_GT(Along(b, d), 2.0);
  EXPECT_GT(std::abs(Across(a, d) - Across(b, d)), 4.0) << "side by side";
  EXPECT_GT(Along(Middle(head.OfColour(kBlack)), d), Along(Middle(head.OfColour(kWhite)), d)) << "pupils in front";
}

TEST_P(EveryDirection, BodyRibsRunAcrossTheWayOfTravel) {
  const int d = GetParam();
  const Tile body(d, 2);
  const auto ribs = Pieces(body.Where([&](int x, int y) { return body.inner(x, y) && body.at(x, y) == kRib; }));
  ASSERT_GE(ribs.size(), 2u);
  for (const Pixels& rib : ribs) {
    double along = 0, across = 0;
    for (const Pixel& p : rib) along = std::max(along, std::abs(Along(p, d) - Along(rib[0], d))),
                               across = std::max(across, std::abs(Across(p, d) - Across(rib[0], d)));
    EXPECT_LE(along, 1.0);
    EXPECT_GE(across, 8.0);
  }
}

TEST_P(EveryDirection, TailTapersToAPointBehind) {
  const int d = GetParam();
  const Tile tail(d, 3);
  const Pixels figure = tail.Where([&](int x, int y) { return tail.figure(x, y); });
  double front = -99, back = 99;
  for (const Pixel& p : figure) front = std::max(front, Along(p, d)), back = std::min(back, Along(p, d));
  auto width = [&](double along) {
    int n = 0;
    for (const Pixel& p : figure) n += std::abs(Along(p, d) - along) < 0.1;
    return n;
  };
  EXPECT_GE(front - back, 14.0) << "spans the cell";
  EXPECT_LE(width(back), 2) << "a point behind";
  int widest = 0;
  for (double along = back; along <= front; ++along) widest = std::max(widest, width(along));
  EXPECT_GE(widest, 10) << "nearly as wide as the body it ends";
  EXPECT_GT(Along(Middle(figure), d), 0.5) << "the bulk in front";
}

INSTANTIATE_TEST_SUITE_P(SpriteSheet, EveryDirection, testing::Values(Up, Right, Down, Left),
                         [](const auto& info) { return std::string(kDirections[info.param]); });

TEST(SpriteSheet, PickupNumbersSitInsideTheirBallsRingedDark) {
  const std::size_t strokes[] = {1, 1, 2};  // "3", "5", "-3"
  for (int column = 1; column <= 3; ++column) {
    SCOPED_TRACE(column);
    const Tile pickup(column, 0);
    const Pixels ink = pickup.OfColour(kWhite);
    EXPECT_GE(ink.size(), 10u);
    EXPECT_EQ(Pieces(ink).size(), strokes[column - 1]);
    for (const Pixel& p : ink)
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int x = static_cast<int>(p.x) + dx, y = static_cast<int>(p.y) + dy;
          EXPECT_TRUE(pickup.inner(x, y)) << "clear of the rim at " << x << "," << y;
          const Colour& v = pickup.at(x, y);
          EXPECT_TRUE(v == kWhite || v.r + v.g + v.b < 400) << "a dark ring at " << x << "," << y;
        }
  }
}

TEST(SpriteSheet, RoamerHasTwoMagentaEyesSideBySide) {
  const auto eyes = Pieces(Tile(0, 0).OfColour(kRoamerEye));
  ASSERT_EQ(eyes.size(), 2u);
  const Pixel a = Middle(eyes[0]), b = Middle(eyes[1]);
  EXPECT_NEAR(a.y, b.y, 0.01);
  EXPECT_NEAR(a.x + b.x, 15.0, 0.01) << "mirrored about the middle";
  EXPECT_GT(std::abs(a.x - b.x), 4.0);
}

}  // namespace
}  // namespace arttest
