// Helpers of the shell's tests: a directory of the test's own, the real main window, a
// fresh game, and the music's state as MCI reports it.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "tests/common/scratch_dir.h"

namespace app_test {

// Creates the main window as WinMain does (hidden). The game timer is stopped again, so
// that the test decides when the clock ticks.
HWND StartMainWindow();

// Destroys the window and reads away what that leaves in the queue (WM_QUIT included).
void StopMainWindow(HWND hwnd);

// A game as a restart leaves it: no body, the head at (0, 0) heading Down, score 0,
// interval 200, Playing.
void ResetGame();

// The reply of "status bgm <what>", or "error N" when the command fails.
std::string MusicStatus(const char* what);

// Whether `hwnd` has a WM_PAINT waiting.
bool PaintPending(HWND hwnd);

// A test of the shell in a directory of its own, so that Ranking.dat and bgm.mid are the
// test's own; the directory goes after the test, and the process back where it was.
class ShellTest : public ::testing::Test {
 protected:
  // Moves the process into the test's directory, copies bgm.mid there when asked, and
  // reloads the game's ranking from it.
  void EnterScratchDirectory(bool withMusic = false);

 private:
  test::ScratchDir scratch_;
  test::CurrentDirectoryGuard cwd_;  // goes back to the first directory before scratch_ is removed
};

// A test on the real main window (`hwnd`) over a fresh game, in a scratch directory that
// holds the music file.
class MainWindowTest : public ShellTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND hwnd = nullptr;
};

}  // namespace app_test
