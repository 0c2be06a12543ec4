// The Game's drawing resources: the back buffer, the board tile and the sprites cut from
// the sprite sheet.
#include "game/game.h"

namespace {

// Where each sprite's tile lies on the sheet, in the order the sprites are built: row 0
// holds the roamer and the pickups, rows 1 to 3 the heads, body cells and tails, their
// columns following Direction.
struct Tile {
  int x;
  int y;
};
constexpr Tile HeadTiles[4] = {{0, 16}, {16, 16}, {32, 16}, {48, 16}};
constexpr Tile BodyTiles[4] = {{0, 32}, {16, 32}, {32, 32}, {48, 32}};
constexpr Tile TailTiles[4] = {{0, 48}, {16, 48}, {32, 48}, {48, 48}};
constexpr Tile PickupTiles[3] = {{16, 0}, {32, 0}, {48, 0}};
constexpr Tile RoamerTile = {0, 0};

// Each tile's own top-left pixel is its key colour.
void Cut(MaskedSprite& sprite, const Surface& sheet, Tile tile) {
  COLORREF keyColour = GetPixel(sheet.GetDc(), tile.x, tile.y);
  sprite.Build(sheet.GetDc(), tile.x, tile.y, CellSize, CellSize, keyColour);
}

}  // namespace

void Game::CreateBackBuffer(HDC hdc, int width, int height) { backBuffer.CreateBlank(hdc, width, height); }

void Game::AttachBackground(HDC hdc, HBITMAP bitmap, int width, int height) {
  background.Attach(hdc, bitmap, width, height);
}

void Game::BuildSprites(const Surface& sheet) {
  for (int i = 0; i < 4; ++i) Cut(headSprites[i], sheet, HeadTiles[i]);
  for (int i = 0; i < 4; ++i) Cut(bodySprites[i], sheet, BodyTiles[i]);
  for (int i = 0; i < 4; ++i) Cut(tailSprites[i], sheet, TailTiles[i]);
  for (int i = 0; i < 3; ++i) Cut(pickupSprites[i], sheet, PickupTiles[i]);
  Cut(roamerSprite, sheet, RoamerTile);
}
