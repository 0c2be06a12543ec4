// The GDI work of one game frame, piece by piece: sprite blits, the tint box, presenting a
// stretched frame, and the panel's texts with a font made for each.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/gdi32/pixel_kernels.h"
#include "platform/win32.h"

namespace {

// A memory DC with a colour bitmap of its own.
class Surface {
 public:
  Surface(int width, int height)
      : dc_(CreateCompatibleDC(nullptr)), bitmap_(CreateBitmap(width, height, 1, 32, nullptr)) {
    SelectObject(dc_, bitmap_);
    for (int y = 0; y < height; y += 7)
      for (int x = 0; x < width; x += 5) SetPixel(dc_, x, y, RGB(x * 3, y * 5, x ^ y));
  }
  ~Surface() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
};

void SpriteBlit(benchmark::State& state, DWORD rop) {
  Surface frame(640, 480);
  Surface sprite(16, 16);
  int i = 0;
  for (auto _ : state) {
    int x = (i * 16) % 480;
    int y = ((i / 30) * 16) % 480;
    BitBlt(frame.dc(), x, y, 16, 16, sprite.dc(), 0, 0, rop);
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(SpriteBlit, SRCCOPY, SRCCOPY);
BENCHMARK_CAPTURE(SpriteBlit, SRCAND, SRCAND);
BENCHMARK_CAPTURE(SpriteBlit, SRCINVERT, SRCINVERT);

void TintBoxMergeCopy(benchmark::State& state) {
  Surface frame(640, 480);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(frame.dc(), blue);
  for (auto _ : state) BitBlt(frame.dc(), 0, 0, 640, 480, frame.dc(), 0, 0, MERGECOPY);
  SelectObject(frame.dc(), old);
  DeleteObject(blue);
  state.SetItemsProcessed(state.iterations() * 640 * 480);
}
BENCHMARK(TintBoxMergeCopy);

void PresentHalftone(benchmark::State& state) {
  Surface frame(640, 480);
  Surface window(1280, 960);
  SetStretchBltMode(window.dc(), HALFTONE);
  for (auto _ : state) StretchBlt(window.dc(), 0, 0, 1280, 960, frame.dc(), 0, 0, 640, 480, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * 1280 * 960);
}
BENCHMARK(PresentHalftone);

// The frame in windows of other sizes: a little larger, and smaller (an area average).
void PresentHalftoneAt(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = static_cast<int>(state.range(1));
  Surface frame(640, 480);
  Surface window(width, height);
  SetStretchBltMode(window.dc(), HALFTONE);
  for (auto _ : state) StretchBlt(window.dc(), 0, 0, width, height, frame.dc(), 0, 0, 640, 480, SRCCOPY);
  state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(PresentHalftoneAt)->Args({1280, 960})->Args({1000, 750})->Args({400, 300})->Args({160, 120});

// The same with the baseline (SSE2) pixel loops, to compare with the set the CPU chose.
void PresentHalftoneWithBaselineLoopsAt(benchmark::State& state) {
  win32::gdi::UseKernels(&win32::gdi::BaselineKernels());
  PresentHalftoneAt(state);
  win32::gdi::UseKernels(nullptr);
}
BENCHMARK(PresentHalftoneWithBaselineLoopsAt)->Args({1280, 960})->Args({1000, 750})->Args({400, 300})->Args({160, 120});

// The background: a 32x32 tile copied.
void TileBlit(benchmark::State& state) {
  Surface frame(640, 480);
  Surface tile(32, 32);
  int i = 0;
  for (auto _ : state) {
    BitBlt(frame.dc(), (i % 15) * 32, (i / 15 % 15) * 32, 32, 32, tile.dc(), 0, 0, SRCCOPY);
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TileBlit);

// TextOutA, or the benchmark marked failed when text cannot be drawn (no Qt application).
bool Draw(benchmark::State& state, HDC dc, int x, int y, const char* text, int length) {
  if (TextOutA(dc, x, y, text, length)) return true;
  state.SkipWithError("TextOutA failed: no Qt application");
  return false;
}

// One panel text as the game draws it: a font created, selected, used and deleted.
void PanelText(benchmark::State& state) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Surface frame(640, 480);
  const char* text = "ゲームオーバー";
  const int length = static_cast<int>(std::strlen(text));
  for (auto _ : state) {
    HFONT font = CreateFontA(15, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
    HGDIOBJ old = SelectObject(frame.dc(), font);
    SetTextColor(frame.dc(), RGB(255, 0, 0));
    SetBkMode(frame.dc(), TRANSPARENT);
    if (!Draw(state, frame.dc(), 510, 260, text, length)) break;
    SelectObject(frame.dc(), old);
    DeleteObject(font);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PanelText);

// A text that changes every time, like a score counting up: no layout of it is kept yet.
void ChangingText(benchmark::State& state) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  Surface frame(640, 480);
  HFONT font = CreateFontA(17, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
  HGDIOBJ old = SelectObject(frame.dc(), font);
  SetBkMode(frame.dc(), TRANSPARENT);
  char text[32];
  int score = 0;
  for (auto _ : state) {
    const int length = std::snprintf(text, sizeof text, "得　点：%05d", score++ % 100000);
    if (!Draw(state, frame.dc(), 510, 80, text, length)) break;
  }
  SelectObject(frame.dc(), old);
  DeleteObject(font);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ChangingText);

// A font made, selected and deleted again without drawing: what each panel text costs
// before its glyphs.
void FontRoundTrip(benchmark::State& state) {
  Surface frame(16, 16);
  for (auto _ : state) {
    HFONT font = CreateFontA(17, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ Ｐゴシック");
    HGDIOBJ old = SelectObject(frame.dc(), font);
    SelectObject(frame.dc(), old);
    DeleteObject(font);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(FontRoundTrip);

}  // namespace
