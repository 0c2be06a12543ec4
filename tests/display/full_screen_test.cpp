// SetFullScreen and ShowMenu on a real window, with a scripted screen behind the display
// settings and, where it matters, a scripted window manager.
#include "display/full_screen.h"

#include <gtest/gtest.h>

#include <QMargins>
#include <memory>

#include "platform/user32/display/current_mode.h"
#include "platform/user32/frame_metrics.h"
#include "platform/user32/system_events.h"
#include "platform/user32/window_table.h"
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
}

TEST_F(FullScreenTest, LeavingRestoresTheRectangleSavedOnEntering) {
  SetFullScreen(hwnd, 1);
  // Moves in full screen (the menu shown and re-fitted) do not change what leaving restores.
  ShowMenu(hwnd, 1);
  ShowMenu(hwnd, 1);
  SetFullScreen(hwnd, 0);
  EXPECT_TRUE(WindowRect(hwnd) == windowed);
}

// The window manager's state of the window, as the platform has told it.
bool FullScreenToTheWindowManager(HWND hwnd) {
  const win32::user32::Window* w = win32::user32::LookupWindow(hwnd);
  return w && w->fullScreen;
}

TEST_F(FullScreenTest, TheWindowIsFullScreenToTheWindowManagerWhileItCoversTheScreen) {
  EXPECT_FALSE(FullScreenToTheWindowManager(hwnd));
  SetFullScreen(hwnd, 1);
  EXPECT_TRUE(FullScreenToTheWindowManager(hwnd));
  // The menu shown and the window re-fitted below the screen's edge: still covering it.
  ShowMenu(hwnd, 1);
  ShowMenu(hwnd, 1);
  EXPECT_TRUE(FullScreenToTheWindowManager(hwnd));
  SetFullScreen(hwnd, 0);
  EXPECT_FALSE(FullScreenToTheWindowManager(hwnd));
  // Without a 640 by 480 mode the window covers only a corner of the screen.
  screen->refused = {k640x480at60};
  SetFullScreen(hwnd, 1);
  EXPECT_FALSE(FullScreenToTheWindowManager(hwnd));
}

TEST_F(FullScreenTest, AnotherWindowsFrameIsNoGuideToTheFrameThatComesBack) {
  // The window manager draws a handle below the main window, none below a dialog.
  ShowWindow(hwnd, SW_SHOW);
  win32::user32::NoteFrameExtents(hwnd, QMargins(1, 20, 1, 5));
  RECT before = WindowRect(hwnd);
  HWND dialog = CreateGameLikeWindow("FullScreenDialog", 10, 10, 200, 100);
  ASSERT_NE(dialog, nullptr);
  ShowWindow(dialog, SW_SHOW);
  win32::user32::NoteFrameExtents(dialog, QMargins(1, 20, 1, 1));
  SetFullScreen(hwnd, 1);
  SetFullScreen(hwnd, 0);
  EXPECT_TRUE(WindowRect(hwnd) == before);
  EXPECT_TRUE(ClientRect(hwnd) == (RECT{0, 0, 640, 480}));
  DestroyWindow(dialog);
}

TEST_F(FullScreenTest, AMaximisedWindowComesBackMaximisedAndRestoresToItsNormalPlace) {
  ShowWindow(hwnd, SW_SHOW);
  ShowWindow(hwnd, SW_MAXIMIZE);
  RECT maximised = WindowRect(hwnd);
  SetFullScreen(hwnd, 1);
  EXPECT_TRUE(WindowRect(hwnd) == (RECT{0, 0, 640, 480}));
  SetFullScreen(hwnd, 0);
  EXPECT_TRUE(IsZoomed(hwnd));
  EXPECT_TRUE(WindowRect(hwnd) == maximised);
  ShowWindow(hwnd, SW_RESTORE);
  EXPECT_TRUE(WindowRect(hwnd) == windowed);
  EXPECT_TRUE(ClientRect(hwnd) == (RECT{0, 0, 640, 480}));
}

// When the window manager tells the frame it draws: never before the window is sized (it does
// not answer the request for it), but after the window is shown, or while it is in full
// screen (a late word, ignored then) and again once it is back, or only once it is back.
enum Moment { BeforeTheSwitch = 1, InFullScreen = 2, AfterComingBack = 4 };
struct FrameNotices {
  const char* name;
  int moments;
  friend void PrintTo(const FrameNotices& notices, std::ostream* out) { *out << notices.name; }
};

class FullScreenUnderAWindowManager : public FullScreenTest, public ::testing::WithParamInterface<FrameNotices> {};

TEST_P(FullScreenUnderAWindowManager, EveryRoundTripRestoresTheExactRectangleAndClientArea) {
  const QMargins kFrame(4, 23, 4, 4);
  auto tellAt = [&](Moment now) {
    if (GetParam().moments & now) win32::user32::NoteFrameExtents(hwnd, kFrame);
  };
  ShowWindow(hwnd, SW_SHOW);
  for (int trip = 1; trip <= 3; ++trip) {
    tellAt(BeforeTheSwitch);
    RECT before = WindowRect(hwnd);
    SetFullScreen(hwnd, 1);
    EXPECT_TRUE(savedWindowRect == before) << trip;
    tellAt(InFullScreen);
    EXPECT_TRUE(WindowRect(hwnd) == (RECT{0, 0, 640, 480})) << trip;
    SetFullScreen(hwnd, 0);
    EXPECT_TRUE(WindowRect(hwnd) == before) << trip;
    EXPECT_TRUE(ClientRect(hwnd) == (RECT{0, 0, 640, 480})) << trip;
    // Told late, the frame goes around the client area, which stays as it was.
    tellAt(AfterComingBack);
    EXPECT_TRUE(ClientRect(hwnd) == (RECT{0, 0, 640, 480})) << trip;
  }
  RECT framed = WindowRect(hwnd);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  EXPECT_EQ(origin.x - framed.left, kFrame.left());
  EXPECT_EQ(framed.right - framed.left, 640 + kFrame.left() + kFrame.right());
}

INSTANTIATE_TEST_SUITE_P(Timing, FullScreenUnderAWindowManager,
                         ::testing::Values(FrameNotices{"WhenShown", BeforeTheSwitch},
                                           FrameNotices{"LateInFullScreen", InFullScreen | AfterComingBack},
                                           FrameNotices{"WhenBack", AfterComingBack}),
                         [](const ::testing::TestParamInfo<FrameNotices>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
