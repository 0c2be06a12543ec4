// SetFullScreen and ShowMenu on a real window, with a scripted screen behind the display
// settings.
#include "display/full_screen.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/user32/display/current_mode.h"
#include "scripted_display.h"
#include "shell_stand_ins.h"

DisplayModeList displayModes;

namespace {

using porongo::testing::HardwareMode;
using porongo::testing::ScriptedScreen;
using porongo::testing::UseScriptedDisplay;

const HardwareMode k640x480at60{640, 480, 60, false};
const HardwareMode k1024x768at60{1024, 768, 60, false};

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT WindowRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

RECT ClientRect(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

class FullScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    screen = UseScriptedDisplay({k640x480at60, k1024x768at60}, k1024x768at60);
    displayModes.Enumerate();
    hwnd = CreateGameLikeWindow("FullScreenTest", 120, 80, 300, 200);
    ASSERT_NE(hwnd, nullptr);
    mainMenu = GetMenu(hwnd);
    ASSERT_NE(mainMenu, nullptr);
    isFullScreen = 0;
    SetClientSize(hwnd, 640, 480);
    windowed = WindowRect(hwnd);
    style = GetWindowLongA(hwnd, GWL_STYLE);  // the system adds bits of its own
  }
  void TearDown() override {
    if (hwnd) DestroyWindow(hwnd);
  }

  std::shared_ptr<ScriptedScreen> screen;
  HWND hwnd = nullptr;
  RECT windowed{};
  LONG style = 0;
};

TEST_F(FullScreenTest, EnteringTakesCaptionBorderAndMenuAndSwitchesTheScreen) {
  EXPECT_EQ(SetFullScreen(hwnd, 1), 1);
  EXPECT_EQ(isFullScreen, 1);
  EXPECT_EQ(GetMenu(hwnd), nullptr);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE), style & ~WS_CAPTION);
  EXPECT_TRUE(WindowRect(hwnd) == (RECT{0, 0, 640, 480}));
  EXPECT_TRUE(savedWindowRect == windowed);
  EXPECT_EQ(screen->current, k640x480at60);
  EXPECT_EQ(win32::display::CurrentScreenMode().bitsPerPixel, 16);
}

TEST_F(FullScreenTest, LeavingPutsBackWindowMenuStyleAndTheDesktopsMode) {
  SetFullScreen(hwnd, 1);
  EXPECT_EQ(SetFullScreen(hwnd, 0), 1);
  EXPECT_EQ(isFullScreen, 0);
  EXPECT_EQ(GetMenu(hwnd), mainMenu);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE), style);
  EXPECT_TRUE(WindowRect(hwnd) == windowed);
  EXPECT_TRUE(ClientRect(hwnd) == (RECT{0, 0, 640, 480}));
  EXPECT_EQ(screen->current, k1024x768at60);
  EXPECT_EQ(win32::display::CurrentScreenMode().bitsPerPixel, 32);
}

TEST_F(FullScreenTest, TheMenuComesAndGoesWithThePointerNearTheTop) {
  SetFullScreen(hwnd, 1);
  // The pointer at y 14: the bar is attached inside the unchanged 640 by 480 window.
  EXPECT_EQ(ShowMenu(hwnd, 14 < 15), 1);
  EXPECT_EQ(GetMenu(hwnd), mainMenu);
  EXPECT_TRUE(WindowRect(hwnd) == (RECT{0, 0, 640, 480}));
  RECT client = ClientRect(hwnd);
  EXPECT_EQ(client.right, 640);
  EXPECT_LT(client.bottom, 480);
  int barHeight = 480 - client.bottom;
  // A further move near the top re-fits the window around a 640 by 480 client area.
  EXPECT_EQ(ShowMenu(hwnd, 3 < 15), 0);
  EXPECT_TRUE(ClientRect(hwnd) == (RECT{0, 0, 640, 480}));
  EXPECT_TRUE(WindowRect(hwnd) == (RECT{0, 0, 640, 480 + barHeight}));
  // The pointer at y 15: the bar goes, and the next move fits the window again.
  EXPECT_EQ(ShowMenu(hwnd, 15 < 15), 1);
  EXPECT_EQ(GetMenu(hwnd), nullptr);
  EXPECT_EQ(ShowMenu(hwnd, 200 < 15), 0);
  EXPECT_TRUE(WindowRect(hwnd) == (RECT{0, 0, 640, 480}));
  EXPECT_TRUE(ClientRect(hwnd) == (RECT{0, 0, 640, 480}));
}

TEST_F(FullScreenTest, WithoutA640x480x16ModeOnlyTheWindowChanges) {
  screen->refused = {k640x480at60};
  SetFullScreen(hwnd, 1);
  EXPECT_EQ(isFullScreen, 1);
  EXPECT_TRUE(WindowRect(hwnd) == (RECT{0, 0, 640, 480}));
  EXPECT_EQ(screen->current, k1024x768at60);
  SetFullScreen(hwnd, 0);
  EXPECT_TRUE(WindowRect(hwnd) == windowed);
  EXPECT_TRUE(screen->applied.empty());
  EXPECT_TRUE(screen->restored.empty());
}

TEST_F(FullScreenTest, LeavingRestoresTheRectangleSavedOnEntering) {
  SetFullScreen(hwnd, 1);
  // Moves in full screen (the menu shown and re-fitted) do not change what leaving restores.
  ShowMenu(hwnd, 1);
  ShowMenu(hwnd, 1);
  SetFullScreen(hwnd, 0);
  EXPECT_TRUE(WindowRect(hwnd) == windowed);
}

}  // namespace
