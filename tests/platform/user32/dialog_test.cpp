// Dialogs driven for real: built from templates, typed into through Qt's events, answered with
// Enter, Esc and Tab, inside their modal loop.
#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "platform/user32/dialogs/dialog_state.h"
#include "tests/common/step_runner.h"
#include "user32_test_ids.h"
#include "user32_test_support.h"

using namespace user32_test;

namespace {

struct DialogLog {
  std::vector<WPARAM> commands;  // wParam of every WM_COMMAND the dialog procedure heard
  bool endOnOk = true;
  HWND dialog = nullptr;
  HWND focusAfterInit = nullptr;
  bool ownerEnabledInside = true;
};
DialogLog dialogLog;

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      dialogLog.dialog = dialog;
      SendDlgItemMessageA(dialog, ID_NAME, EM_LIMITTEXT, 20, 0);
      return TRUE;
    case WM_COMMAND:
      dialogLog.commands.push_back(wParam);
      if (LOWORD(wParam) == IDOK && dialogLog.endOnOk) EndDialog(dialog, 1);
      return LOWORD(wParam) == IDOK ? TRUE : FALSE;
    case WM_USER + 5:
      SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1234);
      return TRUE;
    default:
      return FALSE;
  }
}

QWidget* Focused() { return WidgetOf(GetFocus()); }

// Types text as a keyboard would: letters and digits with their keys, the rest as characters
// without a key of their own.
void TypeText(const char8_t* utf8) {
  QString text = QString::fromUtf8(reinterpret_cast<const char*>(utf8));
  for (QChar c : text) {
    int key = 0;
    if (c >= u'a' && c <= u'z') key = Qt::Key_A + (c.unicode() - u'a');
    if (c >= u'A' && c <= u'Z') key = Qt::Key_A + (c.unicode() - u'A');
    if (c >= u'0' && c <= u'9') key = Qt::Key_0 + (c.unicode() - u'0');
    Click(Focused(), key, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
  }
}

std::string ItemText(HWND dialog, int id) {
  char buffer[64];
  GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
  return buffer;
}

std::size_t CountCommand(WPARAM wParam) {
  return static_cast<std::size_t>(std::count(dialogLog.commands.begin(), dialogLog.commands.end(), wParam));
}

class Dialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    dialogLog = DialogLog{};
    owner = MakeWindow();
    ShowWindow(owner, SW_SHOW);
    DispatchPending();
  }
  void TearDown() override { SetHandler(nullptr); }

  INT_PTR Run(int templateId, std::vector<std::function<void()>> steps) {
    test::RunSteps(std::move(steps));
    INT_PTR result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(templateId), owner, TestDialogProc, 0);
    test::StopSteps();
    return result;
  }
  HWND owner = nullptr;
};

struct TypingCase {
  const char* name;
  const char8_t* typed;
  const char8_t* kept;
};

void PrintTo(const TypingCase& c, std::ostream* out) { *out << c.name; }

class EditLimit : public Dialogs, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(EditLimit, CountsBytesAndNeverSplitsACharacter) {
  std::string got;
  std::size_t changes = 0;
  INT_PTR result = Run(ID_NAME_DIALOG, {[&] { TypeText(GetParam().typed); },
                                        [&] {
                                          got = ItemText(dialogLog.dialog, ID_NAME);
                                          changes = CountCommand(MAKEWPARAM(ID_NAME, EN_CHANGE));
                                          Click(Focused(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
                                        }});
  EXPECT_EQ(result, 1);
  EXPECT_EQ(got, Sjis(GetParam().kept));
  // One EN_CHANGE for every character that went in.
  EXPECT_EQ(changes, QString::fromUtf8(reinterpret_cast<const char*>(GetParam().kept)).size());
}

INSTANTIATE_TEST_SUITE_P(
    Typing, EditLimit,
    ::testing::Values(TypingCase{"TwentyHalfWidth", u8"ABCDEFGHIJKLMNOPQRSTU", u8"ABCDEFGHIJKLMNOPQRST"},
                      TypingCase{"TenFullWidth", u8"あいうえおかきくけこさa", u8"あいうえおかきくけこ"},
                      // 19 bytes: a full-width character would make 21, a half-width one fits.
                      TypingCase{"NoCharacterCrossesTheLimit", u8"ABCDEFGHIJKLMNOPQRSあ1", u8"ABCDEFGHIJKLMNOPQRS1"},
                      TypingCase{"HalfWidthKatakanaCountOne", u8"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅ", u8"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄ"},
                      TypingCase{"CharactersBeyondCodePage932AreRefused", u8"a€b", u8"ab"},
                      TypingCase{"TrailByteBackslash", u8"表示ソ", u8"表示ソ"}),
    [](const ::testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

TEST_F(Dialogs, TheInputMethodCommitsThroughTheSameLimit) {
  std::string got;
  Run(ID_NAME_DIALOG, {[&] {
                         // Composition shows in the field without being its text yet.
                         QInputMethodEvent composing(QString::fromUtf8(u8"かんじ"), {});
                         QApplication::sendEvent(Focused(), &composing);
                       },
                       [&] { EXPECT_EQ(ItemText(dialogLog.dialog, ID_NAME), ""); },
                       [&] {
                         QInputMethodEvent commit;
                         commit.setCommitString(QString::fromUtf8(u8"漢字ABCDEFGHIJKLMNOPQ"));
                         QApplication::sendEvent(Focused(), &commit);
                       },
                       [&] {
                         got = ItemText(dialogLog.dialog, ID_NAME);
                         EndDialog(dialogLog.dialog, 2);
                       }});
  EXPECT_EQ(got, Sjis(u8"漢字ABCDEFGHIJKLMNOP"));
}

TEST_F(Dialogs, EnterGivesTheDefaultButtonAndEscOnlyAsksForCancel) {
  int focus = 0;
  bool visibleAfterEsc = false;
  INT_PTR result = Run(ID_NAME_DIALOG, {[&] { focus = GetDlgCtrlID(GetFocus()); },
                                        [&] { Click(Focused(), Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b")); },
                                        [&] {
                                          visibleAfterEsc = IsWindowVisible(dialogLog.dialog);
                                          WidgetOf(dialogLog.dialog)->window()->close();  // the close box
                                        },
                                        [&] { Click(Focused(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")); }});
  EXPECT_EQ(result, 1);
  // The edit, the one tab stop, had the focus; the dialog stayed through Esc and the close box.
  EXPECT_EQ(focus, ID_NAME);
  EXPECT_TRUE(visibleAfterEsc);
  std::vector<WPARAM> clicks;
  for (WPARAM c : dialogLog.commands) {
    if (HIWORD(c) == BN_CLICKED && (LOWORD(c) == IDOK || LOWORD(c) == IDCANCEL)) clicks.push_back(c);
  }
  EXPECT_EQ(clicks, (std::vector<WPARAM>{MAKEWPARAM(IDCANCEL, BN_CLICKED), MAKEWPARAM(IDCANCEL, BN_CLICKED),
                                         MAKEWPARAM(IDOK, BN_CLICKED)}));
  // No character of Enter or Esc reached the field.
  EXPECT_EQ(CountCommand(MAKEWPARAM(ID_NAME, EN_CHANGE)), 0u);
}

TEST_F(Dialogs, TheFocusStartsOnTheFirstTabStop) {
  Run(ID_NAME_DIALOG, {[&] {
    EXPECT_EQ(GetFocus(), GetDlgItem(dialogLog.dialog, ID_NAME));
    EXPECT_TRUE(Focused()->hasFocus());
    EndDialog(dialogLog.dialog, 0);
  }});
}

TEST_F(Dialogs, TheOwnerIsDisabledAndItsTimersRunMeanwhile) {
  SetTimer(owner, 1, 15, nullptr);
  std::size_t ticksBefore = 0;
  Run(ID_NAME_DIALOG, {[&] { ticksBefore = LogOf(WM_TIMER).size(); },
                       [&] { dialogLog.ownerEnabledInside = IsWindowEnabled(owner); }, [] {}, [] {}, [] {},
                       [&] {
                         // Keys to the owner are lost while the dialog is open.
                         Click(WidgetOf(owner), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
                       },
                       [&] {
                         EXPECT_GT(LogOf(WM_TIMER).size(), ticksBefore);
                         EndDialog(dialogLog.dialog, 0);
                       }});
  EXPECT_FALSE(dialogLog.ownerEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_TRUE(LogOf(WM_KEYDOWN).empty());
  ASSERT_EQ(LogOf(WM_ENABLE).size(), 2u);
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_FALSE(IsWindow(dialogLog.dialog));
  KillTimer(owner, 1);
}

// A key where a real keyboard's presses go: to the widget that has Qt's focus.
void PressOnTheKeyboard(int key, const QString& text) {
  QWidget* target = QApplication::focusWidget();
  ASSERT_NE(target, nullptr) << "no widget has the keyboard";
  Click(target, key, Qt::NoModifier, text);
}

// An About box is up when a timer opens a name dialog of the same owner over it, as when a
// game ends behind the box. Enter ends the name dialog; the owner stays disabled, and the
// keyboard goes back to the About box, which then answers Esc. (As Windows documents it: a
// dialog enables its owner again only if the owner was enabled when it opened. Wine's EndDialog
// enables the owner whatever it was, so that there the About box is no longer modal.)
TEST_F(Dialogs, ANestedDialogGivesTheKeyboardBackToTheOuterOne) {
  HWND outer = nullptr, outerFocus = nullptr, activeAfter = nullptr, focusAfter = nullptr;
  int outerFocusId = 0;
  BOOL ownerEnabledAfter = TRUE;
  INT_PTR innerResult = 0;
  Run(ID_CENTRED_DIALOG,
      {[&] {
         outer = dialogLog.dialog;
         outerFocus = GetFocus();
         outerFocusId = GetDlgCtrlID(outerFocus);
         innerResult = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(ID_NAME_DIALOG), owner, TestDialogProc, 0);
         activeAfter = GetActiveWindow();
         focusAfter = GetFocus();
         ownerEnabledAfter = IsWindowEnabled(owner);
       },
       // Inside the name dialog's loop.
       [] { PressOnTheKeyboard(Qt::Key_Return, QStringLiteral("\r")); },
       // Back in the About box's.
       [] { PressOnTheKeyboard(Qt::Key_Escape, QStringLiteral("\x1b")); }, [&] { EndDialog(outer, 0); }});
  EXPECT_EQ(innerResult, 1);
  EXPECT_FALSE(ownerEnabledAfter);
  EXPECT_EQ(activeAfter, outer);
  ASSERT_EQ(outerFocusId, ID_FIELD);
  EXPECT_EQ(focusAfter, outerFocus);
  EXPECT_EQ(CountCommand(MAKEWPARAM(IDCANCEL, BN_CLICKED)), 1u);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
}

TEST_F(Dialogs, APlainTemplateIsPlacedFromTheOwnersClientArea) {
  POINT ownerOrigin{0, 0};
  ClientToScreen(owner, &ownerOrigin);
  POINT dialogOrigin{0, 0};
  RECT client{}, mapped{10, 20, 187, 71}, edit{}, expectedEdit{7, 33, 7 + 173, 33 + 12};
  Run(ID_NAME_DIALOG, {[&] {
    HWND d = dialogLog.dialog;
    ClientToScreen(d, &dialogOrigin);
    GetClientRect(d, &client);
    MapDialogRect(d, &mapped);
    MapDialogRect(d, &expectedEdit);
    GetWindowRect(GetDlgItem(d, ID_NAME), &edit);
    EndDialog(d, 0);
  }});
  EXPECT_EQ(dialogOrigin.x, ownerOrigin.x + mapped.left);
  EXPECT_EQ(dialogOrigin.y, ownerOrigin.y + mapped.top);
  EXPECT_EQ(client.right, mapped.right);
  EXPECT_EQ(client.bottom, mapped.bottom);
  EXPECT_EQ(edit.left - dialogOrigin.x, expectedEdit.left);
  EXPECT_EQ(edit.top - dialogOrigin.y, expectedEdit.top);
  EXPECT_EQ(edit.right - edit.left, expectedEdit.right - expectedEdit.left);
}

TEST_F(Dialogs, BaseUnitsComeFromTheTemplateFont) {
  QFont font;
  win32::user32::BaseUnits units;
  Run(ID_NAME_DIALOG, {[&] {
    auto* state = win32::user32::DialogOf(dialogLog.dialog);
    ASSERT_NE(state, nullptr);
    font = state->font;
    units = state->units;
    EndDialog(dialogLog.dialog, 0);
  }});
  QFontMetrics metrics(font);
  // 9 points at 96 dpi is an em of 12 pixels; the cell is at least that tall.
  EXPECT_EQ(font.pixelSize(), 12);
  EXPECT_EQ(units.y, metrics.height());
  int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  EXPECT_LE(std::abs(units.x * 52 - letters), 26);
}

TEST_F(Dialogs, ACentredDialogSitsInTheMiddleOfTheWorkArea) {
  RECT r{};
  Run(ID_CENTRED_DIALOG, {[&] {
    GetWindowRect(dialogLog.dialog, &r);
    EndDialog(dialogLog.dialog, 0);
  }});
  QRect work = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs((r.left + r.right) / 2 - work.center().x()), 1);
  EXPECT_LE(std::abs((r.top + r.bottom) / 2 - work.center().y()), 1);
}

TEST_F(Dialogs, TabMovesAmongTabStopsAndEnterPressesAFocusedButton) {
  std::vector<int> order;
  auto note = [&] { order.push_back(GetDlgCtrlID(GetFocus())); };
  auto tab = [] { Click(Focused(), Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")); };
  auto backTab = [] { Click(Focused(), Qt::Key_Backtab, Qt::ShiftModifier, QStringLiteral("\t")); };
  dialogLog.endOnOk = false;
  INT_PTR result = Run(ID_CENTRED_DIALOG, {note, tab, note, tab, note, tab, note, backTab, note,
                                           [&] { Click(Focused(), Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")); },
                                           [&] { EndDialog(dialogLog.dialog, 5); }});
  EXPECT_EQ(result, 5);
  // Field, OK, Cancel and round to the field; back to Cancel. The label, icon and spin box
  // are no tab stops.
  EXPECT_EQ(order, (std::vector<int>{ID_FIELD, IDOK, IDCANCEL, ID_FIELD, IDCANCEL}));
  // Enter on the focused Cancel button is Cancel, not the default OK.
  EXPECT_EQ(dialogLog.commands.back(), MAKEWPARAM(IDCANCEL, BN_CLICKED));
  EXPECT_EQ(CountCommand(MAKEWPARAM(IDOK, BN_CLICKED)), 0u);
}

TEST_F(Dialogs, MnemonicsOfLabelsAndButtons) {
  dialogLog.endOnOk = false;
  int focusAfterLabel = 0;
  Run(ID_CENTRED_DIALOG, {[&] { SetFocus(GetDlgItem(dialogLog.dialog, IDOK)); },
                          [&] { Click(Focused(), Qt::Key_N, Qt::AltModifier, QStringLiteral("n")); },
                          [&] {
                            focusAfterLabel = GetDlgCtrlID(GetFocus());
                            SetFocus(GetDlgItem(dialogLog.dialog, IDOK));
                          },
                          // On a button, the letter alone is enough.
                          [&] { Click(Focused(), Qt::Key_C, Qt::NoModifier, QStringLiteral("c")); },
                          [&] { EndDialog(dialogLog.dialog, 0); }});
  EXPECT_EQ(focusAfterLabel, ID_FIELD);
  EXPECT_EQ(CountCommand(MAKEWPARAM(IDCANCEL, BN_CLICKED)), 1u);
}

TEST_F(Dialogs, MnemonicsAfterHalfWidthKatakana) {
  // Half-width katakana are single bytes of code page 932, not the lead bytes of pairs.
  dialogLog.endOnOk = false;
  Run(ID_CENTRED_DIALOG, {[&] {
                            SetDlgItemTextA(dialogLog.dialog, IDCANCEL, Sjis(u8"ｷｬﾝｾﾙ&C").c_str());
                            SetFocus(GetDlgItem(dialogLog.dialog, IDOK));
                          },
                          [&] { Click(Focused(), Qt::Key_C, Qt::NoModifier, QStringLiteral("c")); },
                          [&] { EndDialog(dialogLog.dialog, 0); }});
  EXPECT_EQ(CountCommand(MAKEWPARAM(IDCANCEL, BN_CLICKED)), 1u);
}

TEST_F(Dialogs, ControlsShowTheirTemplates) {
  QString prompt, note, label, button;
  bool promptWraps = false, noteWraps = true;
  QSize iconSize;
  bool hasIcon = false;
  Run(ID_NAME_DIALOG, {[&] {
    auto* p = qobject_cast<QLabel*>(WidgetOf(GetDlgItem(dialogLog.dialog, ID_PROMPT)));
    auto* n = qobject_cast<QLabel*>(WidgetOf(GetDlgItem(dialogLog.dialog, ID_NOTE)));
    auto* b = qobject_cast<QPushButton*>(WidgetOf(GetDlgItem(dialogLog.dialog, IDOK)));
    ASSERT_TRUE(p && n && b);
    prompt = p->text();
    promptWraps = p->wordWrap();
    note = n->text();
    noteWraps = n->wordWrap();
    button = b->text();
    EXPECT_TRUE(b->isDefault());
    EndDialog(dialogLog.dialog, 0);
  }});
  Run(ID_CENTRED_DIALOG, {[&] {
    auto* icon = qobject_cast<QLabel*>(WidgetOf(GetDlgItem(dialogLog.dialog, ID_ICON_STATIC)));
    ASSERT_NE(icon, nullptr);
    hasIcon = !icon->pixmap().isNull();
    RECT r;
    GetClientRect(GetDlgItem(dialogLog.dialog, ID_ICON_STATIC), &r);
    iconSize = QSize(r.right, r.bottom);
    label = qobject_cast<QLabel*>(WidgetOf(GetDlgItem(dialogLog.dialog, ID_LABEL)))->text();
    EndDialog(dialogLog.dialog, 0);
  }});
  // '&' marks a mnemonic and "&&" is an ampersand; SS_LEFT wraps, SS_LEFTNOWORDWRAP does not.
  EXPECT_EQ(prompt, QString::fromUtf8(u8"名前を入力して下さい。長い説明の文はこの幅で折り返されて二行目に入ります。"));
  EXPECT_TRUE(promptWraps);
  EXPECT_EQ(note, QString::fromUtf8(u8"※半角20文字 & 全角10文字"));
  EXPECT_FALSE(noteWraps);
  EXPECT_EQ(label, QStringLiteral("Name:"));
  EXPECT_EQ(button, QStringLiteral("OK"));
  EXPECT_TRUE(hasIcon);
  EXPECT_EQ(iconSize, QSize(32, 32));
}

TEST_F(Dialogs, TextAndSelectionInCodePage932Bytes) {
  Run(ID_NAME_DIALOG, {[&] {
    HWND d = dialogLog.dialog;
    HWND edit = GetDlgItem(d, ID_NAME);
    // Set by the program, the text may be longer than the typing limit.
    std::string long_ = Sjis(u8"あいうえおかきくけこさしすせそ");
    EXPECT_TRUE(SetDlgItemTextA(d, ID_NAME, long_.c_str()));
    EXPECT_EQ(ItemText(d, ID_NAME), long_);
    EXPECT_EQ(GetWindowTextLengthA(edit), 30);
    // A short buffer gets whole characters only.
    char small[6];
    EXPECT_EQ(GetWindowTextA(edit, small, sizeof small), 4);
    EXPECT_EQ(std::string(small), Sjis(u8"あい"));
    SendMessageA(edit, EM_SETSEL, 2, 6);
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 6u);
    EXPECT_EQ(qobject_cast<QLineEdit*>(WidgetOf(edit))->selectedText(), QString::fromUtf8(u8"いう"));
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 20);
    EndDialog(d, 0);
  }});
}

TEST_F(Dialogs, MessageResultAndDefaultId) {
  LRESULT custom = 0, defaultId = 0;
  Run(ID_NAME_DIALOG, {[&] {
    custom = SendMessageA(dialogLog.dialog, WM_USER + 5, 0, 0);
    defaultId = SendMessageA(dialogLog.dialog, DM_GETDEFID, 0, 0);
    EndDialog(dialogLog.dialog, 0);
  }});
  EXPECT_EQ(custom, 1234);
  EXPECT_EQ(defaultId, MAKELRESULT(IDOK, DC_HASDEFID));
}

TEST_F(Dialogs, QuitEndsTheModalLoopAndIsPostedAgain) {
  INT_PTR result = Run(ID_NAME_DIALOG, {[] { PostQuitMessage(3); }});
  EXPECT_EQ(result, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(Dialogs, AMissingTemplateFails) {
  EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(999), owner, TestDialogProc, 0), -1);
  EXPECT_TRUE(IsWindowEnabled(owner));
}

}  // namespace
