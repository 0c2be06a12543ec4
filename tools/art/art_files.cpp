#include "tools/art/art_files.h"

#include "tools/art/background_tile.h"
#include "tools/art/bmp_file.h"
#include "tools/art/characters.h"
#include "tools/art/ico_file.h"
#include "tools/art/icons.h"
#include "tools/art/indexed_image.h"
#include "tools/art/png_file.h"
#include "tools/art/sprite_sheet.h"

namespace art {
namespace {

// The desktop's icon theme wants the picture at these sizes. Up to 32 pixels it is the pixel
// art of the window icon, whose eyes would blur away if a larger drawing were reduced; from
// 48 up it is drawn this many times larger and averaged down, for soft edges.
constexpr int kThemeIconSizes[] = {16, 32, 48, 64, 128, 256};
constexpr int kLargestPixelArtIcon = 32;
constexpr int kOversampling = 4;

IndexedImage IconImage(const Image& image) { return ToIndexed(image, 8, kBlack); }

Image ThemeIcon(int size) {
  if (size <= kLargestPixelArtIcon) return DrawSnakeIcon(size);
  return DrawSnakeIcon(size * kOversampling, true).Reduce(kOversampling);
}

}  // namespace

std::vector<ArtFile> GenerateArtFiles() {
  std::vector<ArtFile> files = {
      {"sprites.bmp", EncodeBmp(ToIndexed(DrawSpriteSheet(), 8), 8)},
      {"background.bmp", EncodeBmp(ToIndexed(DrawBackgroundTile(), 4), 4)},
      {"porongo.ico",
       EncodeIco({IconImage(DrawSnakeIcon(16)), IconImage(DrawSnakeIcon(32)), IconImage(DrawSnakeIcon(48))})},
      {"porongo_small.ico", EncodeIco({IconImage(DrawHeadIcon())})},
  };
  for (int size : kThemeIconSizes) files.push_back({"porongo_" + std::to_string(size) + ".png", EncodePng(ThemeIcon(size))});
  return files;
}

Image DrawMockBoard() {
  constexpr int kCells = 10;
  const Image background = DrawBackgroundTile();
  Image board(kCells * kTile, kCells * kTile);
  for (int y = 0; y < board.height(); y += kBackgroundSize)
    for (int x = 0; x < board.width(); x += kBackgroundSize) board.Draw(background, x, y);

  // The sheet's tiles with the key colour cleared, the way the game's masks cut them.
  Image sheet = DrawSpriteSheet();
  for (int y = 0; y < sheet.height(); ++y)
    for (int x = 0; x < sheet.width(); ++x)
      if (sheet.at(x, y).rgb == kKey) sheet.at(x, y).a = 0;
  auto put = [&](int column, int row, int cellX, int cellY) {
    Image tile(kTile, kTile);
    for (int y = 0; y < kTile; ++y)
      for (int x = 0; x < kTile; ++x) tile.at(x, y) = sheet.at(column * kTile + x, row * kTile + y);
    board.Draw(tile, cellX * kTile, cellY * kTile);
  };

  // A snake heading right along row 5 after coming up column 2, then a turn down.
  struct Cell {
    int x, y;
    Direction dir;
  };
  const Cell snake[] = {{2, 8, Up}, {2, 7, Up}, {2, 6, Up}, {2, 5, Right}, {3, 5, Right}, {4, 5, Right},
                        {5, 5, Right}, {6, 5, Down}, {6, 6, Down}};
  constexpr int kLast = std::size(snake) - 1;
  for (int i = 0; i < kLast; ++i) put(snake[i].dir, i == 0 ? 3 : 2, snake[i].x, snake[i].y);
  put(snake[kLast].dir, 1, snake[kLast].x, snake[kLast].y);

  put(1, 0, 4, 2);
  put(2, 0, 8, 3);
  put(3, 0, 5, 8);
  put(0, 0, 8, 7);
  put(0, 0, 1, 1);
  // Heads facing every way, in a row.
  for (int d = 0; d < 4; ++d) put(d, 1, 3 + d, 0);
  return board;
}

}  // namespace art
