// The main window's procedure at the message level: keys, the space key's states and the
// music they drive, the commands, the mouse rule and the music's notifications.
#include "app/window_procedure.h"

#include <gtest/gtest.h>

#include "app/game_clock.h"
#include "app/shell_globals.h"
#include "app_test_support.h"
#include "game/game.h"
#include "resources/resource.h"
#include "tests/common/on_wine.h"
#include "tests/common/step_runner.h"

using namespace app_test;

namespace {

class MainWindow : public MainWindowTest {
 protected:
  void Key(WPARAM vk) { SendMessageA(hwnd, WM_KEYDOWN, vk, 0); }
  void Command(UINT id) { SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  bool Checked(UINT id) { return (GetMenuState(mainMenu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
};

TEST_F(MainWindow, ArrowKeysTurnTheHeadOnlyWhenTheGameAllowsIt) {
  struct Case {
    const char* name;
    PlayState state;
    Direction from;
    int body;
    WPARAM key;
    Direction want;
  } cases[] = {
      {"sideways", Playing, Down, 3, VK_LEFT, Left},
      {"reversal without a body", Playing, Down, 0, VK_UP, Up},
      {"reversal into the body", Playing, Down, 3, VK_UP, Down},
      {"same direction", Playing, Right, 3, VK_RIGHT, Right},
      {"paused", Paused, Down, 0, VK_LEFT, Down},
      {"game over", GameOver, Down, 0, VK_RIGHT, Down},
      {"page up does nothing", Playing, Down, 0, VK_PRIOR, Down},
      {"home does nothing", Playing, Down, 0, VK_HOME, Down},
  };
  for (const Case& c : cases) {
    ResetGame();
    game.Head().Set(5, 5, c.from);
    game.Grow(c.body);
    for (int i = 0; i < c.body; ++i) {
      // lay the body straight out behind the head
      int dx = c.from == Right ? -1 : c.from == Left ? 1 : 0;
      int dy = c.from == Down ? -1 : c.from == Up ? 1 : 0;
      game.BodyAt(i).Assign(5 + dx * (i + 1), 5 + dy * (i + 1), c.from);
    }
    game.SetState(c.state);
    Key(c.key);
    EXPECT_EQ(game.Head().GetDir(), c.want) << c.name;
    EXPECT_EQ(game.Head().GetX(), 5) << c.name << ": a key never moves the snake";
    EXPECT_EQ(game.Head().GetY(), 5) << c.name;
  }
}

TEST_F(MainWindow, ATurnIntoTheBodyStaysRefusedAfterASidewaysTurnInTheSameStep) {
  game.Head().Set(5, 5, Down);
  game.Grow(2);
  game.BodyAt(0).Assign(5, 4, Down);
  game.BodyAt(1).Assign(5, 3, Down);
  Key(VK_LEFT);
  Key(VK_UP);
  EXPECT_EQ(game.Head().GetDir(), Left);
}

TEST_F(MainWindow, KeysPressedWhilePausedAreLost) {
  Key(VK_SPACE);
  ASSERT_EQ(game.GetState(), Paused);
  Key(VK_LEFT);
  Key(VK_SPACE);
  EXPECT_EQ(game.GetState(), Playing);
  EXPECT_EQ(game.Head().GetDir(), Down);
}

TEST_F(MainWindow, SpacePausesAndResumesTheGameAndItsMusic) {
  ASSERT_EQ(MusicStatus("mode"), "playing");
  Key(VK_SPACE);
  EXPECT_EQ(game.GetState(), Paused);
  EXPECT_EQ(MusicStatus("mode"), "stopped");
  Sleep(300);
  std::string stoppedAt = MusicStatus("position");
  Key(VK_SPACE);
  EXPECT_EQ(game.GetState(), Playing);
  EXPECT_EQ(MusicStatus("mode"), "playing");
  EXPECT_GE(std::stol(MusicStatus("position")), std::stol(stoppedAt)) << "resumes where it stopped";
  // Holding space toggles at every repetition.
  for (int i = 0; i < 3; ++i) Key(VK_SPACE);
  EXPECT_EQ(game.GetState(), Paused);
}

TEST_F(MainWindow, SpaceAfterAGameOverStartsANewGameAndTheMusicFromTheBeginning) {
  game.Head().Set(12, 30, Left);
  game.Grow(7);
  game.SetScore(42);
  game.SetInterval(120);
  game.SetState(GameOver);
  mciSendStringA("stop bgm", NULL, 0, NULL);
  int pickupX = game.PickupAt(3).GetX(), roamerY = game.RoamerAt(1).GetY();

  Key(VK_SPACE);

  EXPECT_EQ(game.GetState(), Playing);
  EXPECT_EQ(game.BodyLength(), 0);
  EXPECT_EQ(game.Head().GetX(), 0);
  EXPECT_EQ(game.Head().GetY(), 0);
  EXPECT_EQ(game.Head().GetDir(), Down);
  EXPECT_NE(game.Head().GetActive(), 0);
  EXPECT_EQ(game.GetScore(), 0);
  EXPECT_EQ(game.GetInterval(), 200);
  EXPECT_EQ(game.PickupAt(3).GetX(), pickupX) << "the pickups stay where they were";
  EXPECT_EQ(game.RoamerAt(1).GetY(), roamerY) << "the roamers stay where they were";
  EXPECT_EQ(MusicStatus("mode"), "playing");
  EXPECT_LT(std::stol(MusicStatus("position")), 200) << "the music starts from its beginning";
}

TEST_F(MainWindow, TheMusicLoopsOnlyWhileTheGameIsPlayed) {
  for (PlayState state : {Paused, GameOver}) {
    mciSendStringA("stop bgm", NULL, 0, NULL);
    game.SetState(state);
    SendMessageA(hwnd, MM_MCINOTIFY, MCI_NOTIFY_ABORTED, 1);
    EXPECT_EQ(MusicStatus("mode"), "stopped") << state;
  }
  game.SetState(Playing);
  mciSendStringA("seek bgm to end", NULL, 0, NULL);
  SendMessageA(hwnd, MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, 1);
  EXPECT_EQ(MusicStatus("mode"), "playing");
  EXPECT_LT(std::stol(MusicStatus("position")), 200) << "played again from its beginning";
}

TEST_F(MainWindow, DisplayModeCommandsMoveTheRadioMarkAndSwitchOnlyWhenNeeded) {
  EXPECT_TRUE(Checked(CMD_WINDOW_MODE));
  RECT before;
  GetWindowRect(hwnd, &before);
  LONG style = GetWindowLongA(hwnd, GWL_STYLE);

  Command(CMD_WINDOW_MODE);  // the mode in force: only the mark
  EXPECT_TRUE(Checked(CMD_WINDOW_MODE));
  EXPECT_EQ(isFullScreen, 0);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE), style);

  Command(CMD_FULLSCREEN_MODE);
  EXPECT_EQ(isFullScreen, 1);
  EXPECT_TRUE(Checked(CMD_FULLSCREEN_MODE));
  EXPECT_FALSE(Checked(CMD_WINDOW_MODE));
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(GetMenu(hwnd), nullptr);
  RECT saved = savedWindowRect;
  EXPECT_EQ(saved.left, before.left);
  EXPECT_EQ(saved.bottom, before.bottom);

  SetWindowPos(hwnd, NULL, 30, 40, 640, 480, SWP_NOZORDER);
  Command(CMD_FULLSCREEN_MODE);  // again: the first saved rectangle stays
  EXPECT_EQ(savedWindowRect.left, saved.left);
  EXPECT_EQ(savedWindowRect.top, saved.top);
  EXPECT_EQ(savedWindowRect.right, saved.right);

  Command(CMD_WINDOW_MODE);
  EXPECT_EQ(isFullScreen, 0);
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE), style);
  EXPECT_EQ(GetMenu(hwnd), mainMenu);
  RECT after;
  GetWindowRect(hwnd, &after);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
}

TEST_F(MainWindow, WindowModeLeftWhileTheMenuIsHiddenKeepsTheFullScreenMark) {
  Command(CMD_FULLSCREEN_MODE);
  ASSERT_EQ(GetMenu(hwnd), nullptr);
  Command(CMD_WINDOW_MODE);  // F4 with the menu hidden: there is no menu to mark
  EXPECT_EQ(isFullScreen, 0);
  EXPECT_EQ(GetMenu(hwnd), mainMenu);
  EXPECT_TRUE(Checked(CMD_FULLSCREEN_MODE));
}

TEST_F(MainWindow, ThePointerShowsTheMenuInFullScreenOnly) {
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 300));
  EXPECT_EQ(GetMenu(hwnd), mainMenu) << "in window mode mouse moves never touch the menu";
  RECT windowMode;
  GetWindowRect(hwnd, &windowMode);
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 2));
  RECT still;
  GetWindowRect(hwnd, &still);
  EXPECT_EQ(still.bottom, windowMode.bottom);

  Command(CMD_FULLSCREEN_MODE);
  ASSERT_EQ(GetMenu(hwnd), nullptr);
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 14));
  EXPECT_EQ(GetMenu(hwnd), mainMenu);
  SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 15));
  EXPECT_EQ(GetMenu(hwnd), nullptr);
  Command(CMD_WINDOW_MODE);
}

TEST_F(MainWindow, ResetQuestionAnsweredNoLeavesTheRankingAndItsFile) {
  test::WriteBytes("Ranking.dat", "[1]\r\nName=Keep\r\nBody=1\r\nScore=9\r\n");
  game.Ranking().Load();
  test::RunSteps({[] { SendMessageA(GetActiveWindow(), WM_COMMAND, IDNO, 0); }});
  Command(CMD_RESET_RANKING);
  test::StopSteps();
  EXPECT_EQ(game.Ranking().ScoreAt(0), 9);
  EXPECT_EQ(test::ReadBytes("Ranking.dat"), "[1]\r\nName=Keep\r\nBody=1\r\nScore=9\r\n");
}

TEST_F(MainWindow, ResetQuestionAnsweredYesClearsTheRankingAndRewritesTheFile) {
  test::WriteBytes("Ranking.dat", "[1]\r\nName=Gone\r\nBody=1\r\nScore=9\r\n");
  game.Ranking().Load();
  test::RunSteps({[] { SendMessageA(GetActiveWindow(), WM_COMMAND, IDYES, 0); }});
  Command(CMD_RESET_RANKING);
  test::StopSteps();
  EXPECT_EQ(game.Ranking().ScoreAt(0), 0);
  EXPECT_STREQ(game.Ranking().NameAt(0), "No Name");
  std::string file = test::ReadBytes("Ranking.dat");
  EXPECT_NE(file.find("[5]\r\nName=No Name\r\nBody=0\r\nScore=0\r\n"), std::string::npos) << file;
  EXPECT_EQ(file.find("Gone"), std::string::npos);
}

TEST_F(MainWindow, TheAboutBoxDoesNotPauseTheGame) {
  // Nothing in the snake's way, and no ten-second step to scatter the pickups into it.
  for (int i = 0; i < RoamerCount; ++i) game.RoamerAt(i).Place(28, 28);
  for (int i = 0; i < PickupCount; ++i)
    while (game.PickupAt(i).GetX() < 2) game.PickupAt(i).Respawn();
  lastStepTick = GetTickCount();
  SetTimer(hwnd, GAME_TIMER, 20, GameTimerProc);
  int headY = game.Head().GetY();
  test::RunSteps(
      {[] {}, [] {}, [] {}, [] {}, [] {}, [] {}, [] { SendMessageA(GetActiveWindow(), WM_COMMAND, IDCANCEL, 0); }}, 40);
  Command(CMD_ABOUT);
  test::StopSteps();
  KillTimer(hwnd, GAME_TIMER);
  EXPECT_GT(game.Head().GetY(), headY) << "the game clock kept running behind the box";
  EXPECT_TRUE(IsWindowEnabled(hwnd)) << "the owner is enabled again";
}

TEST_F(MainWindow, ExitDestroysTheWindowStopsTheClockAndTheMusicAndQuitsWithZero) {
  Command(CMD_EXIT);
  EXPECT_FALSE(IsWindow(hwnd));
  // A command to a name that is not open fails with MCIERR_INVALID_DEVICE_NAME on Windows.
  // Wine tries to open the name as a file instead and fails on its missing extension
  // (MCIERR_EXTENSION_NOT_FOUND): there only the failure is checked.
  std::string closed = MusicStatus("mode");
  if (test::OnWine()) {
    EXPECT_EQ(closed.rfind("error ", 0), 0u) << closed;
  } else {
    EXPECT_EQ(closed, "error " + std::to_string(MCIERR_INVALID_DEVICE_NAME)) << "the music is closed";
  }
  MSG msg;
  bool quit = false;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quit = true;
      EXPECT_EQ(msg.wParam, 0u);
    }
    EXPECT_NE(msg.message, WM_TIMER) << "no tick after the window is gone";
  }
  EXPECT_TRUE(quit);
}

}  // namespace
