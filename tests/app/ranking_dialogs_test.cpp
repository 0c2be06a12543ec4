// The name-entry dialog driven through its real controls and keyboard input.
#include <gtest/gtest.h>

#include "app/shell_globals.h"
#include "app_test_support.h"
#include "game/game.h"
#include "ranking/name_entry_dialog.h"
#include "resources/resource.h"
#include "../platform/user32/user32_test_support.h"

using namespace app_test;
using user32_test::Click;
using user32_test::WidgetOf;

namespace {

HWND Dialog() { return GetActiveWindow(); }

void Type(const char8_t* utf8) {
  QString text = QString::fromUtf8(reinterpret_cast<const char*>(utf8));
  for (QChar c : text) Click(WidgetOf(GetFocus()), 0, Qt::NoModifier, QString(c));
}

void Enter() { Click(WidgetOf(GetFocus()), Qt::Key_Return, Qt::NoModifier, "\r"); }
void Escape() { Click(WidgetOf(GetFocus()), Qt::Key_Escape, Qt::NoModifier, "\x1b"); }

std::string Text(HWND dialog, int id) {
  char buffer[256] = "";
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

class NameEntry : public ::testing::Test {
 protected:
  void SetUp() override {
    EnterScratchDirectory();
    owner = StartMainWindow();
    ASSERT_NE(owner, nullptr);
    ResetGame();
    WriteFile("Ranking.dat",
              "[1]\r\nScore=50\r\n[2]\r\nScore=40\r\n[3]\r\nScore=30\r\n[4]\r\nScore=20\r\n[5]\r\nScore=10\r\n");
    game.Ranking().Load();
    game.SetScore(45);  // rank 2
    game.Grow(6);
  }
  void TearDown() override { StopMainWindow(owner); }

  INT_PTR Run(std::vector<std::function<void()>> steps) {
    user32_test::RunSteps(std::move(steps));
    INT_PTR result = DialogBoxParamA(appInstance, MAKEINTRESOURCE(DLG_NAME_ENTRY), owner, NameEntryDialogProc, 0);
    user32_test::StopSteps();
    return result;
  }

  HWND owner = nullptr;
};

TEST_F(NameEntry, ShowsTheRankAndTheTopFiveAndRecordsTheTypedNameOnEnter) {
  std::string caption, prompt;
  bool ownerDisabled = false;
  INT_PTR result = Run({[&] {
                          char text[64] = "";
                          GetWindowTextA(Dialog(), text, sizeof text);
                          caption = text;
                          prompt = Text(Dialog(), IDC_PROMPT);
                          ownerDisabled = !IsWindowEnabled(owner);
                        },
                        [] { Type(u8"ポロンゴ太郎"); }, [] { Enter(); }});
  EXPECT_EQ(result, 1);
  EXPECT_EQ(caption, "あなたは2位です。");
  EXPECT_EQ(prompt, "あなたの記録は上位5位以内に入りました！\n名前が残ります。\n名前を入力して下さい。");
  EXPECT_TRUE(ownerDisabled);
  EXPECT_STREQ(game.Ranking().NameAt(1), "ポロンゴ太郎");
  EXPECT_EQ(game.Ranking().ScoreAt(1), 45);
  EXPECT_EQ(game.Ranking().BodyAt(1), 6);
  EXPECT_NE(ReadFile("Ranking.dat").find("Name=ポロンゴ太郎"), std::string::npos);
}

TEST_F(NameEntry, AnEmptyNameIsRecordedAsNoName) {
  Run({[] { Enter(); }});
  EXPECT_STREQ(game.Ranking().NameAt(1), "No Name");
}

TEST_F(NameEntry, EscapeAndTheCloseBoxDoNothing) {
  bool stillOpen = false;
  Run({[] { Type(u8"Ken"); }, [] { Escape(); }, [] { SendMessageA(Dialog(), WM_CLOSE, 0, 0); },
       [&] { stillOpen = Text(Dialog(), IDC_NAME_EDIT) == "Ken"; }, [] { Enter(); }});
  EXPECT_TRUE(stillOpen);
  EXPECT_STREQ(game.Ranking().NameAt(1), "Ken");
}

TEST_F(NameEntry, TheNameHoldsTwentyBytesAndNeverHalfACharacter) {
  struct Case {
    const char8_t* typed;
    const char* kept;
  } cases[] = {
      {u8"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRST"},
      {u8"あいうえおかきくけこさしす", "あいうえおかきくけこ"},
      {u8"ABCDEFGHIJKLMNOPQRSあい", "ABCDEFGHIJKLMNOPQRS"},  // 19 bytes: あ would need 21
  };
  int score = 60;
  for (const Case& c : cases) {
    ResetGame();
    game.SetScore(score += 10);  // rank 1 each time
    Run({[&] { Type(c.typed); }, [] { Enter(); }});
    EXPECT_STREQ(game.Ranking().NameAt(0), c.kept);
  }
}

}  // namespace
