#include "render/graphics.h"

#include "app/shell_globals.h"
#include "game/game.h"
#include "render/frame_geometry.h"
#include "render/surface.h"
#include "resources/resource.h"

BOOL LoadGraphics(HWND hwnd, HINSTANCE hInstance) {
  HDC hdc = GetDC(hwnd);
  game.CreateBackBuffer(hdc, FrameWidth, FrameHeight);
  game.AttachBackground(hdc, LoadBitmapA(hInstance, MAKEINTRESOURCE(BMP_BACKGROUND)), TileSize, TileSize);

  Surface sheet;
  sheet.Attach(hdc, LoadBitmapA(hInstance, MAKEINTRESOURCE(BMP_SPRITES)), SheetSize, SheetSize);
  game.BuildSprites(sheet);
  sheet.Release();  // the sprites keep copies of their own

  ReleaseDC(hwnd, hdc);
  return TRUE;
}
