#include "app_test_support.h"

#include "app/main_window.h"
#include "app/shell_globals.h"
#include "game/game.h"
#include "resources/resource.h"

namespace app_test {

void ShellTest::EnterScratchDirectory(bool withMusic) {
  std::filesystem::current_path(scratch_.path());
  if (withMusic) {
    std::string music = test::ReadBytes(PORONGO_BGM_PATH);
    ASSERT_FALSE(music.empty()) << "no music in " << PORONGO_BGM_PATH;
    test::WriteBytes("bgm.mid", music);
  }
  game.Ranking().Load();
}

HWND StartMainWindow() {
  HINSTANCE instance = GetModuleHandleA(NULL);
  LoadStringA(instance, STR_TITLE, windowTitle, sizeof windowTitle);
  LoadStringA(instance, RES_MAIN, windowClassName, sizeof windowClassName);
  RegisterMainWindowClass(instance);
  EXPECT_TRUE(InitMainWindow(instance, SW_SHOWNORMAL));
  // Shown, the main window is the active one: that is how the test finds it.
  HWND hwnd = GetActiveWindow();
  EXPECT_NE(hwnd, nullptr);
  KillTimer(hwnd, GAME_TIMER);
  return hwnd;
}

void StopMainWindow(HWND hwnd) {
  if (IsWindow(hwnd)) DestroyWindow(hwnd);
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
  }
}

void ResetGame() {
  game.Shrink(MaxBody);
  game.Head().Set(0, 0, Down);
  game.SetScore(0);
  game.SetInterval(StartInterval);
  game.SetState(Playing);
}

std::string MusicStatus(const char* what) {
  char reply[128] = "";
  std::string command = std::string("status bgm ") + what;
  MCIERROR error = mciSendStringA(command.c_str(), reply, sizeof reply, NULL);
  if (error != 0) return "error " + std::to_string(error);
  return reply;
}

bool PaintPending(HWND hwnd) {
  MSG msg;
  return PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE) != 0;
}

void MainWindowTest::SetUp() {
  EnterScratchDirectory(/*withMusic=*/true);
  if (HasFatalFailure()) return;
  hwnd = StartMainWindow();
  ASSERT_NE(hwnd, nullptr);
  ResetGame();
}

void MainWindowTest::TearDown() { StopMainWindow(hwnd); }

}  // namespace app_test
