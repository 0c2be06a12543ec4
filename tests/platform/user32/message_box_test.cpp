// Message boxes answered through synthesised input.
#include <gtest/gtest.h>

#include <QPushButton>

#include "tests/common/step_runner.h"
#include "user32_test_support.h"

using namespace user32_test;

namespace {

QWidget* Focused() { return WidgetOf(GetFocus()); }

HWND Box() { return GetActiveWindow(); }

void Key(int key, const char* text, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  Click(Focused(), key, modifiers, QString::fromLatin1(text));
}

class MessageBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    owner = MakeWindow();
    ShowWindow(owner, SW_SHOW);
    DispatchPending();
  }
  int Ask(UINT type, std::vector<std::function<void()>> steps, const char* caption = "質問") {
    test::RunSteps(std::move(steps));
    std::string text = Sjis(u8"ランキングを初期化します。\nよろしいですか？");
    // Plain literals are code page 932 already, as on a Japanese Windows.
    int answer = MessageBoxA(owner, text.c_str(), caption, type);
    test::StopSteps();
    return answer;
  }
  HWND owner = nullptr;
};

struct AnswerCase {
  const char* name;
  UINT type;
  std::vector<std::pair<int, const char*>> keys;  // Qt key and its text, in order
  int answer;
};

void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

class Answers : public MessageBoxes, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(Answers, AreTheButtonsOfTheKeys) {
  std::vector<std::function<void()>> steps;
  for (auto [key, text] : GetParam().keys) steps.push_back([key, text] { Key(key, text); });
  EXPECT_EQ(Ask(GetParam().type, steps), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Answers,
    ::testing::Values(
        AnswerCase{"YesNoEnterIsYes", MB_YESNO, {{Qt::Key_Return, "\r"}}, IDYES},
        AnswerCase{"YesNoSecondDefault", MB_YESNO | MB_DEFBUTTON2, {{Qt::Key_Return, "\r"}}, IDNO},
        AnswerCase{"YesNoLetterN", MB_YESNO, {{Qt::Key_N, "n"}}, IDNO},
        // Esc does nothing in a box without Cancel; the answer is still to come.
        AnswerCase{"YesNoIgnoresEsc", MB_YESNO, {{Qt::Key_Escape, "\x1b"}, {Qt::Key_Y, "y"}}, IDYES},
        AnswerCase{"TabThenEnter", MB_YESNO, {{Qt::Key_Tab, "\t"}, {Qt::Key_Return, "\r"}}, IDNO},
        // The arrow keys move among the buttons, round and round.
        AnswerCase{"RightThenEnter", MB_YESNO, {{Qt::Key_Right, ""}, {Qt::Key_Return, "\r"}}, IDNO},
        AnswerCase{"ArrowsWrapAround",
                   MB_YESNO,
                   {{Qt::Key_Up, ""}, {Qt::Key_Down, ""}, {Qt::Key_Down, ""}, {Qt::Key_Return, "\r"}},
                   IDNO},
        AnswerCase{"OkEscIsOk", MB_OK, {{Qt::Key_Escape, "\x1b"}}, IDOK},
        AnswerCase{"OkCancelEscIsCancel", MB_OKCANCEL, {{Qt::Key_Escape, "\x1b"}}, IDCANCEL}),
    [](const ::testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

TEST_F(MessageBoxes, TheCloseBoxOfAYesNoBoxDoesNothing) {
  bool stillOpen = false;
  bool hasCloseButton = true;
  int answer = Ask(MB_YESNO, {[&] {
                                QWidget* frame = WidgetOf(Box())->window();
                                hasCloseButton = frame->windowFlags() & Qt::WindowCloseButtonHint;
                                frame->close();
                              },
                              [&] { stillOpen = IsWindowVisible(Box()); }, [] { Key(Qt::Key_N, "n"); }});
  EXPECT_TRUE(stillOpen);
  EXPECT_FALSE(hasCloseButton);
  EXPECT_EQ(answer, IDNO);
}

TEST_F(MessageBoxes, TheCloseBoxOfAnOkCancelBoxCancels) {
  EXPECT_EQ(Ask(MB_OKCANCEL, {[] { WidgetOf(Box())->window()->close(); }}), IDCANCEL);
}

TEST_F(MessageBoxes, ShowTheTextTheCaptionAndJapaneseButtons) {
  std::vector<QString> buttons;
  QString caption;
  std::string text;
  Ask(MB_YESNO, {[&] {
                   HWND box = Box();
                   caption = WidgetOf(box)->window()->windowTitle();
                   for (QPushButton* b : WidgetOf(box)->findChildren<QPushButton*>()) buttons.push_back(b->text());
                   char buffer[128] = {};
                   GetDlgItemTextA(box, -1, buffer, sizeof buffer);
                   text = buffer;
                   EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDYES);
                 },
                 [] { Key(Qt::Key_Y, "y"); }});
  EXPECT_EQ(caption, QString::fromUtf8(u8"質問"));
  EXPECT_EQ(buttons, (std::vector<QString>{QString::fromUtf8(u8"はい(&Y)"), QString::fromUtf8(u8"いいえ(&N)")}));
  EXPECT_EQ(text, Sjis(u8"ランキングを初期化します。\nよろしいですか？"));
}

TEST_F(MessageBoxes, WithoutACaptionTheBoxSaysError) {
  QString caption;
  Ask(MB_OK, {[&] { caption = WidgetOf(Box())->window()->windowTitle(); }, [] { Key(Qt::Key_Return, "\r"); }},
      nullptr);
  EXPECT_EQ(caption, QString::fromUtf8(u8"エラー"));
}

TEST_F(MessageBoxes, TheOwnerIsDisabledButItsTimersRun) {
  SetTimer(owner, 1, 15, nullptr);
  bool enabledInside = true;
  std::size_t ticks = 0;
  Ask(MB_YESNO, {[&] { enabledInside = IsWindowEnabled(owner); }, [] {}, [] {}, [] {}, [] {},
                 [&] { ticks = LogOf(WM_TIMER).size(); }, [] { Key(Qt::Key_N, "n"); }});
  EXPECT_FALSE(enabledInside);
  EXPECT_GT(ticks, 2u);
  EXPECT_TRUE(IsWindowEnabled(owner));
  KillTimer(owner, 1);
}

}  // namespace
