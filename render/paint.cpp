// Painting the window: the frame is composed whole and reaches the client area in one copy.
#include "game/game.h"

void Game::Paint(HWND hwnd, HDC hdc) {
  RECT client;
  GetClientRect(hwnd, &client);
  ComposeFrame();
  PresentFrame(hdc, client.right, client.bottom);
}
