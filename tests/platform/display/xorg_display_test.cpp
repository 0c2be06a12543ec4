// Display settings on a real X server (Xorg with the dummy driver): the modes XRandR
// offers, switches seen by xrandr, and the desktop's mode coming back however a program
// that switched it ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "dummy_x_server.h"
#include "platform/user32/display/current_mode.h"
#include "platform/user32/display/fixed_screen_backend.h"
#include "platform/user32/display/restore_guard.h"
#include "platform/user32/display/xrandr_backend.h"
#include "platform/win32.h"

namespace {

using namespace std::chrono_literals;
using porongo::testing::ChildProcess;
using porongo::testing::DummyXServer;
using porongo::testing::XrandrMode;
using win32::display::CurrentScreenMode;

class XorgDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    porongo::testing::AdoptOrphans();
    server_ = DummyXServer::Start(why_).release();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    if (!server_) GTEST_SKIP() << why_;
    if (!server_->CurrentMode()) GTEST_SKIP() << "xrandr is not installed (x11-xserver-utils)";
  }
  void TearDown() override {
    // Whatever a test did, the next one starts from the desktop without a guard.
    LeaveServer();
    if (server_) server_->Xrandr("--output DUMMY0 --mode 1024x768 --fb 1024x768");
  }

  // The platform's settings on this server, with the real guard.
  void UseServer() {
    auto backend = win32::display::OpenXDisplayBackend(server_->Display().c_str());
    ASSERT_TRUE(backend);
    win32::display::UseDisplayBackend(std::move(backend), win32::display::LaunchRestoreGuard);
  }
  // The platform's settings on a screen of their own again; the server's guard is let go.
  static void LeaveServer() {
    win32::display::UseDisplayBackend(
        std::make_unique<win32::display::FixedScreenBackend>(win32::display::HardwareMode{1024, 768, 60, false}, 32));
  }

  static bool ScreenBecomes(int width, int height, std::chrono::milliseconds timeout = 5s) {
    return server_->ShowsMode(width, height, timeout);
  }

  static inline DummyXServer* server_ = nullptr;
  static inline std::string why_;
};

// The restore guards that watch the program with this process id.
std::vector<pid_t> GuardsOf(pid_t program) {
  return porongo::testing::FindProcesses({win32::display::kGuardProcessName, std::to_string(program)});
}

bool Find(DWORD width, DWORD height, DWORD bits, DWORD hz, DEVMODEA* found = nullptr) {
  DEVMODEA mode;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    if (mode.dmPelsWidth == width && mode.dmPelsHeight == height && mode.dmBitsPerPel == bits &&
        mode.dmDisplayFrequency == hz) {
      if (found) *found = mode;
      return true;
    }
  }
  return false;
}

TEST_F(XorgDisplayTest, ListsTheOutputsModesAtThreeDepths) {
  UseServer();
  for (DWORD bits : {8u, 16u, 32u}) {
    EXPECT_TRUE(Find(1024, 768, bits, 60));
    EXPECT_TRUE(Find(800, 600, bits, 60));
    EXPECT_TRUE(Find(640, 480, bits, 60));
    EXPECT_TRUE(Find(640, 480, bits, 75));
  }
  win32::display::ScreenMode now = CurrentScreenMode();
  EXPECT_EQ(now.width, 1024);
  EXPECT_EQ(now.height, 768);
  EXPECT_EQ(now.bitsPerPixel, 32);
  EXPECT_EQ(now.refreshRate, 60);
}

TEST_F(XorgDisplayTest, SwitchesTheScreenAndBack) {
  UseServer();
  DEVMODEA mode;
  ASSERT_TRUE(Find(640, 480, 16, 75, &mode));
  ASSERT_EQ(ChangeDisplaySettingsA(&mode, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(ScreenBecomes(1024, 768, 0ms));
  ASSERT_EQ(ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(ScreenBecomes(640, 480, 0ms));
  EXPECT_NEAR(server_->CurrentMode()->refresh, 75, 0.5);
  win32::display::ScreenMode now = CurrentScreenMode();
  EXPECT_EQ(now.width, 640);
  EXPECT_EQ(now.height, 480);
  EXPECT_EQ(now.bitsPerPixel, 16);
  EXPECT_EQ(now.refreshRate, 75);

  ASSERT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  EXPECT_TRUE(ScreenBecomes(1024, 768, 0ms));
  EXPECT_EQ(CurrentScreenMode().bitsPerPixel, 32);
}

TEST_F(XorgDisplayTest, ASwitchByAnotherClientShowsAtOnce) {
  UseServer();
  EXPECT_EQ(CurrentScreenMode().width, 1024);
  ASSERT_TRUE(server_->Xrandr("--output DUMMY0 --mode 800x600"));
  win32::display::ScreenMode now = CurrentScreenMode();
  EXPECT_EQ(now.width, 800);
  EXPECT_EQ(now.height, 600);
}

TEST_F(XorgDisplayTest, TheGuardOfThisProcessEndsWithoutTouchingARestoredScreen) {
  UseServer();
  DEVMODEA mode;
  ASSERT_TRUE(Find(640, 480, 16, 60, &mode));
  ASSERT_EQ(ChangeDisplaySettingsA(&mode, 0), DISP_CHANGE_SUCCESSFUL);
  ASSERT_EQ(GuardsOf(getpid()).size(), 1u);
  ASSERT_EQ(ChangeDisplaySettingsA(nullptr, 0), DISP_CHANGE_SUCCESSFUL);
  ASSERT_TRUE(server_->Xrandr("--output DUMMY0 --mode 800x600"));
  // Replacing the screen lets go of the guard, which must leave 800x600 alone.
  LeaveServer();
  EXPECT_TRUE(GuardsOf(getpid()).empty());
  EXPECT_TRUE(ScreenBecomes(800, 600, 0ms));
}

// How the program that switched the screen ends.
struct Ending {
  const char* name;
  int signal;  // 0: it exits normally, without restoring
};
void PrintTo(const Ending& c, std::ostream* os) { *os << c.name; }

class ProgramEndTest : public XorgDisplayTest, public ::testing::WithParamInterface<Ending> {};

TEST_P(ProgramEndTest, TheDesktopsModeComesBack) {
  ChildProcess probe({DISPLAY_SWITCH_PROBE, "hold"}, {"DISPLAY=" + server_->Display(), "QT_QPA_PLATFORM=xcb"});
  ASSERT_TRUE(probe.Running());
  ASSERT_EQ(probe.ReadLine(10s), "switched");
  EXPECT_TRUE(ScreenBecomes(640, 480, 0ms));
  std::vector<pid_t> guards = GuardsOf(probe.Pid());
  ASSERT_EQ(guards.size(), 1u);

  if (GetParam().signal) {
    probe.Signal(GetParam().signal);
  } else {
    probe.CloseInput();
  }
  ASSERT_TRUE(probe.Wait(10s));
  EXPECT_TRUE(ScreenBecomes(1024, 768));
  std::optional<int> guardStatus = porongo::testing::WaitForAdopted(guards[0], 5s);
  ASSERT_TRUE(guardStatus) << "the guard is still running";
  EXPECT_TRUE(WIFEXITED(*guardStatus) && WEXITSTATUS(*guardStatus) == 0);
}

INSTANTIATE_TEST_SUITE_P(Endings, ProgramEndTest,
                         ::testing::Values(Ending{"Exit", 0}, Ending{"Sigterm", SIGTERM}, Ending{"Sigkill", SIGKILL},
                                           Ending{"Sigint", SIGINT}, Ending{"Sighup", SIGHUP},
                                           Ending{"Crash", SIGSEGV}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(XorgDisplayTest, AProgramThatRestoredIsNotRestoredAgainAfterItEnds) {
  ChildProcess probe({DISPLAY_SWITCH_PROBE, "restore"}, {"DISPLAY=" + server_->Display(), "QT_QPA_PLATFORM=xcb"});
  ASSERT_TRUE(probe.Running());
  ASSERT_EQ(probe.ReadLine(10s), "restored");
  EXPECT_TRUE(ScreenBecomes(1024, 768, 0ms));
  std::vector<pid_t> guards = GuardsOf(probe.Pid());
  ASSERT_EQ(guards.size(), 1u);
  // Someone else switches the screen; the guard must not undo that when the program ends.
  ASSERT_TRUE(server_->Xrandr("--output DUMMY0 --mode 800x600"));
  probe.Signal(SIGKILL);
  ASSERT_TRUE(probe.Wait(10s));
  ASSERT_TRUE(porongo::testing::WaitForAdopted(guards[0], 5s));
  std::optional<XrandrMode> mode = server_->CurrentMode();
  ASSERT_TRUE(mode);
  EXPECT_EQ(mode->width, 800);
}

}  // namespace
