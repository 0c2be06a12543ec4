// The music as the game drives it, with notifications that really come from the platform:
// the piece loops while the game is played and stays silent when paused or without a file.
#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "app/game_clock.h"
#include "app/shell_globals.h"
#include "app_test_support.h"
#include "game/game.h"
#include "tests/common/on_wine.h"

using namespace app_test;

namespace {

// Half a second of one note: a piece short enough to end within a test.
std::string ShortPiece() {
  const unsigned char bytes[] = {
      'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,  // format 0, one track, 480 per beat
      'M', 'T', 'r', 'k', 0, 0, 0, 16,                          //
      0x00, 0xC0, 0x00,                                         // piano
      0x00, 0x90, 0x3C, 0x64,                                   // C4 on
      0x83, 0x60, 0x80, 0x3C, 0x40,                             // a beat later (0.5 s), off
      0x00, 0xFF, 0x2F, 0x00};                                  // end of track
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

class Music : public ShellTest {
 protected:
  void TearDown() override { StopMainWindow(hwnd); }

  void Start(bool withPiece) {
    EnterScratchDirectory();
    if (withPiece) test::WriteBytes("bgm.mid", ShortPiece());
    hwnd = StartMainWindow();
    ASSERT_NE(hwnd, nullptr);
    ResetGame();
  }

  // Runs the message loop for `ms` milliseconds (or until `stop` says so), noting the
  // code of every music notification before it is dispatched.
  void Pump(int ms, bool (*stop)(const std::vector<WPARAM>&) = nullptr) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < end) {
      MSG msg;
      while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == MM_MCINOTIFY) notices.push_back(msg.wParam);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (stop && stop(notices)) return;
      }
      Sleep(5);
    }
  }

  HWND hwnd = nullptr;
  std::vector<WPARAM> notices;
};

bool TwoEnds(const std::vector<WPARAM>& notices) {
  int ends = 0;
  for (WPARAM code : notices) ends += code == MCI_NOTIFY_SUCCESSFUL;
  return ends >= 2;
}

TEST_F(Music, ThePieceStartsAgainEachTimeItEndsWhileTheGameIsPlayed) {
  Start(/*withPiece=*/true);
  ASSERT_EQ(MusicStatus("mode"), "playing");
  // Wine's sequencer without a MIDI output (the tests' prefix has no audio driver) says
  // "playing" while its position stays at 0: the piece never ends. Windows' plays it through.
  if (test::OnWine()) GTEST_SKIP() << "Wine without a MIDI output never ends the piece";
  Pump(8000, TwoEnds);
  ASSERT_TRUE(TwoEnds(notices)) << "the piece ended and was played again to its end";
  EXPECT_EQ(MusicStatus("mode"), "playing");
  EXPECT_LT(std::stol(MusicStatus("position")), 300) << "played again from its beginning";
}

TEST_F(Music, TheNoticeOfAStoppedPlayLeavesTheMusicSilent) {
  Start(/*withPiece=*/true);
  SendMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);  // pause: the play is stopped
  Pump(1500);
  ASSERT_FALSE(notices.empty()) << "the stopped play was notified";
  EXPECT_EQ(notices.front(), static_cast<WPARAM>(MCI_NOTIFY_ABORTED));
  EXPECT_EQ(MusicStatus("mode"), "stopped");

  SendMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);  // resume
  game.Head().Set(0, 29, Down);                  // the next step runs off the board
  notices.clear();
  GameTimerProc(hwnd, WM_TIMER, GAME_TIMER, GetTickCount());
  ASSERT_EQ(game.GetState(), GameOver);
  Pump(1500);
  EXPECT_EQ(MusicStatus("mode"), "stopped");
  for (WPARAM code : notices) EXPECT_NE(code, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
}

TEST_F(Music, WithoutTheMusicFileTheGameRunsAndNoNoticeArrives) {
  Start(/*withPiece=*/false);
  EXPECT_NE(MusicStatus("mode").rfind("error", 0), std::string::npos) << "the device was never opened";
  for (int i = 0; i < RoamerCount; ++i) game.RoamerAt(i).Place(28, 28);
  lastStepTick = GetTickCount();
  SetTimer(hwnd, GAME_TIMER, 30, GameTimerProc);
  SendMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(hwnd, WM_KEYDOWN, VK_SPACE, 0);
  Pump(600);
  KillTimer(hwnd, GAME_TIMER);
  EXPECT_GT(game.Head().GetY(), 2) << "the game went on";
  EXPECT_TRUE(notices.empty());
}

}  // namespace
