// Composing the frame in the back buffer and presenting it on a device context.
#include "game/game.h"
#include "render/frame_geometry.h"

void Game::ComposeFrame() {
  // The board needs no clearing: the background tiles cover all of it.
  BitBlt(backBuffer.GetDc(), PanelX, 0, PanelWidth, FrameHeight, NULL, 0, 0, BLACKNESS);
  DrawBackground();
  DrawPickups();
  DrawSnake();
  DrawRoamers();
  DrawPanel();
}

void Game::PresentFrame(HDC hdc, int width, int height) {
  SetStretchBltMode(hdc, HALFTONE);
  if (width == FrameWidth && height == FrameHeight)
    BitBlt(hdc, 0, 0, FrameWidth, FrameHeight, backBuffer.GetDc(), 0, 0, SRCCOPY);
  else
    StretchBlt(hdc, 0, 0, width, height, backBuffer.GetDc(), 0, 0, FrameWidth, FrameHeight, SRCCOPY);
}

void Game::DrawBackground() {
  for (int x = 0; x < BoardPixels; x += TileSize)
    for (int y = 0; y < BoardPixels; y += TileSize) background.Blit(backBuffer.GetDc(), x, y);
}

void Game::DrawPickups() {
  for (const Pickup& pickup : pickups)
    pickupSprites[pickup.GetKind()].Draw(backBuffer.GetDc(), CellSize * pickup.GetX(), CellSize * pickup.GetY());
}

void Game::DrawSnake() {
  // From the tail toward the neck, each cell over the one behind it; the highest active
  // cell is the tail tip. Cells just grown lie stacked on the tail, so the lower ones,
  // drawn later as body cells, cover the tip until they unfold.
  bool tailDrawn = false;
  for (int i = MaxBody - 1; i >= 0; --i) {
    const Segment& cell = body[i];
    if (!cell.GetActive()) continue;
    const MaskedSprite& sprite = tailDrawn ? bodySprites[cell.GetDir()] : tailSprites[cell.GetDir()];
    sprite.Draw(backBuffer.GetDc(), CellSize * cell.GetX(), CellSize * cell.GetY());
    tailDrawn = true;
  }
  headSprites[head.GetDir()].Draw(backBuffer.GetDc(), CellSize * head.GetX(), CellSize * head.GetY());
}

void Game::DrawRoamers() {
  for (const Roamer& roamer : roamers)
    roamerSprite.Draw(backBuffer.GetDc(), CellSize * roamer.GetX(), CellSize * roamer.GetY());
}
