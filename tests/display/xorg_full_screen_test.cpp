// The full-screen switch of a program on a real X server (Xorg with the dummy driver),
// watched with xrandr.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "child_process.h"
#include "dummy_x_server.h"
#include "platform/user32/display/restore_guard.h"

namespace {

using namespace std::chrono_literals;
using porongo::testing::ChildProcess;
using porongo::testing::DummyXServer;

class XorgFullScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    porongo::testing::AdoptOrphans();
    std::string why;
    server = DummyXServer::Start(why);
    if (!server) GTEST_SKIP() << why;
    if (!server->CurrentMode()) GTEST_SKIP() << "xrandr is not installed (x11-xserver-utils)";
    probe =
        std::make_unique<ChildProcess>(std::vector<std::string>{FULL_SCREEN_PROBE},
                                       std::vector<std::string>{"DISPLAY=" + server->Display(), "QT_QPA_PLATFORM=xcb"});
    ASSERT_TRUE(probe->Running());
    ASSERT_EQ(probe->ReadLine(20s), "ready");
  }

  bool Command(const std::string& word) {
    probe->WriteLine(word);
    return probe->ReadLine(10s) == word;
  }

  std::unique_ptr<DummyXServer> server;
  std::unique_ptr<ChildProcess> probe;
};

TEST_F(XorgFullScreenTest, FullScreenSwitchesTheScreenTo640x480AndBack) {
  EXPECT_TRUE(server->ShowsMode(1024, 768, 0ms));
  ASSERT_TRUE(Command("full"));
  EXPECT_TRUE(server->ShowsMode(640, 480));
  ASSERT_TRUE(Command("window"));
  EXPECT_TRUE(server->ShowsMode(1024, 768));
}

TEST_F(XorgFullScreenTest, EndingInFullScreenGivesTheDesktopItsModeBackAtExit) {
  ASSERT_TRUE(Command("full"));
  ASSERT_TRUE(server->ShowsMode(640, 480));
  auto guards = porongo::testing::FindProcesses({win32::display::kGuardProcessName, std::to_string(probe->Pid())});
  ASSERT_EQ(guards.size(), 1u);
  probe->WriteLine("quit");
  // The program has destroyed its global objects but not yet ended: the mode is back by
  // its own doing, with the guard still waiting.
  ASSERT_EQ(probe->ReadLine(10s), "exited");
  EXPECT_TRUE(server->ShowsMode(1024, 768, 0ms));
  EXPECT_EQ(porongo::testing::FindProcesses({win32::display::kGuardProcessName, std::to_string(probe->Pid())}), guards);
  // Another client switches; the guard of the ended program leaves that alone.
  ASSERT_TRUE(server->Xrandr("--output DUMMY0 --mode 800x600"));
  probe->CloseInput();
  ASSERT_TRUE(probe->Wait(10s));
  ASSERT_TRUE(porongo::testing::WaitForAdopted(guards[0], 5s));
  EXPECT_TRUE(server->ShowsMode(800, 600, 0ms));
}

}  // namespace
