// The name-entry dialog driven through its real controls and keyboard input.
#include <gtest/gtest.h>

#include "app/shell_globals.h"
#include "app_test_support.h"
#include "game/game.h"
#include "ranking/name_entry_dialog.h"
#include "resources/resource.h"
#include "tests/common/on_wine.h"
#include "tests/common/step_runner.h"

using namespace app_test;

namespace {

HWND Dialog() { return GetActiveWindow(); }

// Keyboard input as the message loop hands it to the focused control. Text comes as
// WM_CHAR, a double-byte character as two, the lead byte first: what an ANSI window gets
// from an input method. Narrow literals are code page 932 already.
void Type(const char* text) {
  HWND focus = GetFocus();
  for (const char* c = text; *c != '\0'; ++c) PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(*c), 1);
}

// A key pressed and let go: the key-down and key-up that the keyboard gives, with the key's
// scan code (the key-up's also says that the key was down and goes up).
void Press(WPARAM key, WORD scanCode) {
  HWND focus = GetFocus();
  PostMessageA(focus, WM_KEYDOWN, key, MAKELPARAM(1, scanCode));
  PostMessageA(focus, WM_KEYUP, key, MAKELPARAM(1, scanCode | 0xC000));
}

void Enter() { Press(VK_RETURN, 0x1C); }
void Escape() { Press(VK_ESCAPE, 0x01); }

std::string Text(HWND dialog, int id) {
  char buffer[256] = "";
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

class NameEntry : public ShellTest {
 protected:
  void SetUp() override {
    EnterScratchDirectory();
    owner = StartMainWindow();
    ASSERT_NE(owner, nullptr);
    ResetGame();
    test::WriteBytes("Ranking.dat",
                     "[1]\r\nScore=50\r\n[2]\r\nScore=40\r\n[3]\r\nScore=30\r\n[4]\r\nScore=20\r\n[5]\r\nScore=10\r\n");
    game.Ranking().Load();
    game.SetScore(45);  // rank 2
    game.Grow(6);
  }
  void TearDown() override { StopMainWindow(owner); }

  INT_PTR Run(std::vector<std::function<void()>> steps) {
    test::RunSteps(std::move(steps));
    INT_PTR result = DialogBoxParamA(appInstance, MAKEINTRESOURCE(DLG_NAME_ENTRY), owner, NameEntryDialogProc, 0);
    test::StopSteps();
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
                        [] { Type("ポロンゴ太郎"); }, [] { Enter(); }});
  EXPECT_EQ(result, 1);
  EXPECT_EQ(caption, "あなたは2位です。");
  EXPECT_EQ(prompt, "あなたの記録は上位5位以内に入りました！\n名前が残ります。\n名前を入力して下さい。");
  EXPECT_TRUE(ownerDisabled);
  EXPECT_STREQ(game.Ranking().NameAt(1), "ポロンゴ太郎");
  EXPECT_EQ(game.Ranking().ScoreAt(1), 45);
  EXPECT_EQ(game.Ranking().BodyAt(1), 6);
  EXPECT_NE(test::ReadBytes("Ranking.dat").find("Name=ポロンゴ太郎"), std::string::npos);
}

TEST_F(NameEntry, AnEmptyNameIsRecordedAsNoName) {
  Run({[] { Enter(); }});
  EXPECT_STREQ(game.Ranking().NameAt(1), "No Name");
}

TEST_F(NameEntry, EscapeAndTheCloseBoxDoNothing) {
  bool stillOpen = false;
  Run({[] { Type("Ken"); }, [] { Escape(); }, [] { SendMessageA(Dialog(), WM_CLOSE, 0, 0); },
       [&] { stillOpen = Text(Dialog(), IDC_NAME_EDIT) == "Ken"; }, [] { Enter(); }});
  EXPECT_TRUE(stillOpen);
  EXPECT_STREQ(game.Ranking().NameAt(1), "Ken");
}

TEST_F(NameEntry, TheNameHoldsTwentyBytesAndNeverHalfACharacter) {
  struct Case {
    const char* typed;
    const char* kept;
  } cases[] = {
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", "ABCDEFGHIJKLMNOPQRST"},
      {"あいうえおかきくけこさしす", "あいうえおかきくけこ"},
      {"ABCDEFGHIJKLMNOPQRSあい", "ABCDEFGHIJKLMNOPQRS"},  // 19 bytes: あ would need 21
  };
  int score = 60;
  for (const Case& c : cases) {
    ResetGame();
    game.SetScore(score += 10);  // rank 1 each time
    std::string field;
    Run({[&] { Type(c.typed); }, [&] { field = Text(Dialog(), IDC_NAME_EDIT); }, [] { Enter(); }});
    // The edit control of an ANSI window counts its limit in bytes on Windows (EM_LIMITTEXT);
    // Wine's counts characters, so there the field takes more than twenty bytes of
    // double-byte text and only the dialog's reading of twenty bytes cuts the name.
    if (!test::OnWine()) {
      EXPECT_EQ(field, c.kept) << "the field takes no more";
    }
    EXPECT_STREQ(game.Ranking().NameAt(0), c.kept);
  }
}

}  // namespace
