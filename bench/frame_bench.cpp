// The cost of the worst frame there is, against the cost of one plain copy of a frame's
// pixels: 900 body cells, the game-over overlay with a full ranking of the widest numbers,
// presented stretched to 1280 by 960.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/shell_globals.h"
#include "game/game.h"
#include "platform/gdi32/pixel_kernels.h"
#include "platform/win32.h"
#include "render/graphics.h"
#include "tools/framedump/scenes.h"

// LoadGraphics fills the program's one Game; the benchmark has its own.
Game game;

namespace {

constexpr int FrameBytes = 640 * 480 * 4;

// A window-sized target: a memory DC holding a screen-compatible bitmap.
struct Target {
  Target(int width, int height) {
    HDC screen = GetDC(NULL);
    dc = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, width, height);
    SelectObject(dc, bitmap);
    ReleaseDC(NULL, screen);
  }
  ~Target() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HDC dc;
  HBITMAP bitmap;
};

void SetUpWorstCase() {
  static bool done = false;
  if (done) return;
  done = true;
  const std::string failure = LoadFullRanking(game);
  if (!failure.empty()) std::fprintf(stderr, "frame_bench: %s\n", failure.c_str());
  LoadGraphics(NULL, GetModuleHandleA(NULL));
  SetUpFullBoardSnake(game);
}

void BM_WorstCaseFrame(benchmark::State& state) {
  SetUpWorstCase();
  Target window(1280, 960);
  for (auto _ : state) {
    game.ComposeFrame();
    game.PresentFrame(window.dc, 1280, 960);
  }
}
BENCHMARK(BM_WorstCaseFrame)->Unit(benchmark::kMicrosecond);

// The same frame with gdi32's baseline (SSE2) pixel loops, as on a CPU without AVX2.
void BM_WorstCaseFrameWithBaselineLoops(benchmark::State& state) {
  win32::gdi::UseKernels(&win32::gdi::BaselineKernels());
  BM_WorstCaseFrame(state);
  win32::gdi::UseKernels(nullptr);
}
BENCHMARK(BM_WorstCaseFrameWithBaselineLoops)->Unit(benchmark::kMicrosecond);

// The steps of that frame on their own, to see where its time goes.
void BM_WorstCaseCompositionOnly(benchmark::State& state) {
  SetUpWorstCase();
  for (auto _ : state) game.ComposeFrame();
}
BENCHMARK(BM_WorstCaseCompositionOnly)->Unit(benchmark::kMicrosecond);

void BM_WorstCaseStep(benchmark::State& state, void (Game::*step)()) {
  SetUpWorstCase();
  for (auto _ : state) (game.*step)();
}
BENCHMARK_CAPTURE(BM_WorstCaseStep, DrawBackground, &Game::DrawBackground)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WorstCaseStep, DrawPickups, &Game::DrawPickups)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WorstCaseStep, DrawSnake, &Game::DrawSnake)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WorstCaseStep, DrawRoamers, &Game::DrawRoamers)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_WorstCaseStep, DrawPanel, &Game::DrawPanel)->Unit(benchmark::kMicrosecond);

void BM_StretchTo1280x960Only(benchmark::State& state) {
  SetUpWorstCase();
  Target window(1280, 960);
  game.ComposeFrame();
  for (auto _ : state) game.PresentFrame(window.dc, 1280, 960);
}
BENCHMARK(BM_StretchTo1280x960Only)->Unit(benchmark::kMicrosecond);

void BM_CopyOneFrameWithMemcpy(benchmark::State& state) {
  std::vector<std::uint8_t> from(FrameBytes, 0x5A);
  std::vector<std::uint8_t> to(FrameBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), FrameBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * FrameBytes);
}
BENCHMARK(BM_CopyOneFrameWithMemcpy)->Unit(benchmark::kMicrosecond);

}  // namespace
