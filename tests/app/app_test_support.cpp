#include "app_test_support.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "app/main_window.h"
#include "app/shell_globals.h"
#include "game/game.h"
#include "resources/resource.h"

namespace app_test {

namespace {

std::vector<std::string>& ScratchDirectories() {
  static std::vector<std::string> directories;
  return directories;
}

void RemoveScratchDirectories() {
  std::error_code ignored;
  for (const std::string& directory : ScratchDirectories()) std::filesystem::remove_all(directory, ignored);
}

}  // namespace

void EnterScratchDirectory(bool withMusic) {
  char pattern[] = "/tmp/porongo-app-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  if (ScratchDirectories().empty()) std::atexit(RemoveScratchDirectories);
  ScratchDirectories().push_back(pattern);
  ASSERT_EQ(chdir(pattern), 0);
  if (withMusic) WriteFile("bgm.mid", ReadFile(PORONGO_BGM_PATH));
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

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const char* path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool PaintPending(HWND hwnd) {
  MSG msg;
  return PeekMessageA(&msg, hwnd, WM_PAINT, WM_PAINT, PM_NOREMOVE) != 0;
}

void MainWindowTest::SetUp() {
  EnterScratchDirectory(/*withMusic=*/true);
  hwnd = StartMainWindow();
  ASSERT_NE(hwnd, nullptr);
  ResetGame();
}

void MainWindowTest::TearDown() { StopMainWindow(hwnd); }

}  // namespace app_test
