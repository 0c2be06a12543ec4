// framedump: composes frames of chosen game states with the program's own resources and
// writes them as PNG files, for looking at the frame without playing.
//   framedump [output directory]
#include <QImage>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shell_globals.h"
#include "game/game.h"
#include "platform/win32.h"
#include "render/graphics.h"
#include "tools/framedump/scenes.h"

// LoadGraphics fills the program's one Game; this tool has its own.
Game game;

namespace {

// Presents the composed frame at width by height into a screen-compatible bitmap and
// saves that bitmap's pixels, read back with GetDIBits.
bool SaveFrame(const std::filesystem::path& path, int width, int height) {
  HDC screen = GetDC(NULL);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  game.PresentFrame(memory, width, height);
  SelectObject(memory, previous);  // GetDIBits wants the bitmap selected nowhere

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, like QImage
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  QImage image(width, height, QImage::Format_RGB32);
  const int rows = GetDIBits(memory, bitmap, 0, height, image.bits(), &info, DIB_RGB_COLORS);

  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(NULL, screen);
  if (rows != height) {
    std::fprintf(stderr, "framedump: could not read the frame back for %s\n", path.c_str());
    return false;
  }
  if (!image.save(QString::fromStdString(path.string()), "PNG")) {
    std::fprintf(stderr, "framedump: could not write %s\n", path.c_str());
    return false;
  }
  std::printf("%s\n", path.c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path out = argc > 1 ? fs::path(argv[1]) : fs::path("frames");
  std::error_code error;
  fs::create_directories(out, error);
  if (error) {
    std::fprintf(stderr, "framedump: cannot create %s: %s\n", out.c_str(), error.message().c_str());
    return 1;
  }
  const std::string rankingFailure = LoadFullRanking(game);
  if (!rankingFailure.empty()) {
    std::fprintf(stderr, "framedump: %s\n", rankingFailure.c_str());
    return 1;
  }
  LoadGraphics(NULL, GetModuleHandleA(NULL));

  bool saved = true;
  SetUpWindingSnake(game, 400);
  game.SetScore(1234);
  game.ComposeFrame();
  saved &= SaveFrame(out / "frame-playing.png", 640, 480);

  game.SetState(Paused);
  game.ComposeFrame();
  saved &= SaveFrame(out / "frame-paused.png", 640, 480);

  game.SetState(GameOver);
  game.ComposeFrame();
  saved &= SaveFrame(out / "frame-gameover.png", 640, 480);
  saved &= SaveFrame(out / "frame-gameover-1280x960.png", 1280, 960);

  SetUpFullBoardSnake(game);
  game.ComposeFrame();
  saved &= SaveFrame(out / "frame-full-board.png", 640, 480);
  return saved ? 0 : 1;
}
