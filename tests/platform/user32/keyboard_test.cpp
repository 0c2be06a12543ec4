// Keyboard and mouse input: Qt's events as virtual keys, lParam bits, WM_CHAR/WM_SYSCHAR in
// code page 932, auto-repeat, the key state, mouse messages.
#include <gtest/gtest.h>

#include <algorithm>

#include "user32_test_support.h"

using namespace user32_test;

namespace {

struct Expected {
  UINT message;
  WPARAM wParam;
};

struct KeyCase {
  const char* name;
  int key;
  Qt::KeyboardModifiers modifiers;
  const char8_t* text;
  std::vector<Expected> messages;  // after TranslateMessage, modifier keys' own messages left out
};

bool IsModifierKey(const MSG& m) {
  return (m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_SYSKEYDOWN || m.message == WM_SYSKEYUP) &&
         (m.wParam == VK_SHIFT || m.wParam == VK_CONTROL || m.wParam == VK_MENU);
}

// Reads the queue as a message loop does, translating key-downs.
std::vector<MSG> ReadTranslated() {
  std::vector<MSG> got;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) {
      ValidateRect(msg.hwnd, nullptr);
      continue;
    }
    got.push_back(msg);
    TranslateMessage(&msg);
  }
  return got;
}

void PrintTo(const KeyCase& c, std::ostream* out) { *out << c.name; }

class KeyTranslation : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyTranslation, GivesTheMessagesWindowsGives) {
  const KeyCase& c = GetParam();
  HWND w = MakeWindow();
  ShowWindow(w, SW_SHOW);
  ReadTranslated();
  QString text = QString::fromUtf8(reinterpret_cast<const char*>(c.text));
  if (c.modifiers & Qt::ShiftModifier) Press(WidgetOf(w), Qt::Key_Shift, Qt::NoModifier);
  if (c.modifiers & Qt::ControlModifier) Press(WidgetOf(w), Qt::Key_Control, c.modifiers & Qt::ShiftModifier);
  if (c.modifiers & Qt::AltModifier) Press(WidgetOf(w), Qt::Key_Alt, c.modifiers & ~Qt::AltModifier);
  Click(WidgetOf(w), c.key, c.modifiers, text);
  std::vector<Expected> got;
  for (const MSG& m : ReadTranslated()) {
    if (!IsModifierKey(m)) got.push_back(Expected{m.message, m.wParam});
  }
  ASSERT_EQ(got.size(), c.messages.size()) << c.name;
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_EQ(got[i].message, c.messages[i].message) << c.name << " #" << i;
    EXPECT_EQ(got[i].wParam, c.messages[i].wParam) << c.name << " #" << i;
  }
}

const auto kNone = Qt::NoModifier;
const auto kShift = Qt::ShiftModifier;
const auto kCtrl = Qt::ControlModifier;
const auto kAlt = Qt::AltModifier;
const auto kKeypad = Qt::KeypadModifier;

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTranslation,
    ::testing::Values(
        KeyCase{"letter", Qt::Key_A, kNone, u8"a", {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}, {WM_KEYUP, 'A'}}},
        KeyCase{"shifted letter", Qt::Key_A, kShift, u8"A", {{WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}, {WM_KEYUP, 'A'}}},
        KeyCase{"digit", Qt::Key_7, kNone, u8"7", {{WM_KEYDOWN, '7'}, {WM_CHAR, '7'}, {WM_KEYUP, '7'}}},
        KeyCase{"space", Qt::Key_Space, kNone, u8" ", {{WM_KEYDOWN, VK_SPACE}, {WM_CHAR, ' '}, {WM_KEYUP, VK_SPACE}}},
        KeyCase{"arrow", Qt::Key_Left, kNone, u8"", {{WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT}}},
        KeyCase{"escape", Qt::Key_Escape, kNone, u8"\x1b",
                {{WM_KEYDOWN, VK_ESCAPE}, {WM_CHAR, 0x1B}, {WM_KEYUP, VK_ESCAPE}}},
        KeyCase{"enter", Qt::Key_Return, kNone, u8"\r", {{WM_KEYDOWN, VK_RETURN}, {WM_CHAR, '\r'}, {WM_KEYUP, VK_RETURN}}},
        KeyCase{"delete types nothing", Qt::Key_Delete, kNone, u8"\x7f", {{WM_KEYDOWN, VK_DELETE}, {WM_KEYUP, VK_DELETE}}},
        KeyCase{"F1", Qt::Key_F1, kNone, u8"", {{WM_KEYDOWN, VK_F1}, {WM_KEYUP, VK_F1}}},
        KeyCase{"F10 is a system key", Qt::Key_F10, kNone, u8"", {{WM_SYSKEYDOWN, VK_F10}, {WM_SYSKEYUP, VK_F10}}},
        KeyCase{"ctrl+F4", Qt::Key_F4, kCtrl, u8"", {{WM_KEYDOWN, VK_F4}, {WM_KEYUP, VK_F4}}},
        KeyCase{"ctrl+C", Qt::Key_C, kCtrl, u8"c", {{WM_KEYDOWN, 'C'}, {WM_CHAR, 0x03}, {WM_KEYUP, 'C'}}},
        KeyCase{"ctrl+1 types nothing", Qt::Key_1, kCtrl, u8"1", {{WM_KEYDOWN, '1'}, {WM_KEYUP, '1'}}},
        KeyCase{"alt+slash", Qt::Key_Slash, kAlt, u8"/",
                {{WM_SYSKEYDOWN, VK_OEM_2}, {WM_SYSCHAR, '/'}, {WM_SYSKEYUP, VK_OEM_2}}},
        KeyCase{"alt+question", Qt::Key_Question, kAlt | kShift, u8"?",
                {{WM_SYSKEYDOWN, VK_OEM_2}, {WM_SYSCHAR, '?'}, {WM_SYSKEYUP, VK_OEM_2}}},
        KeyCase{"semicolon", Qt::Key_Semicolon, kNone, u8";", {{WM_KEYDOWN, VK_OEM_1}, {WM_CHAR, ';'}, {WM_KEYUP, VK_OEM_1}}},
        KeyCase{"keypad digit", Qt::Key_5, kKeypad, u8"5",
                {{WM_KEYDOWN, VK_NUMPAD5}, {WM_CHAR, '5'}, {WM_KEYUP, VK_NUMPAD5}}},
        KeyCase{"keypad divide", Qt::Key_Slash, kKeypad, u8"/",
                {{WM_KEYDOWN, VK_DIVIDE}, {WM_CHAR, '/'}, {WM_KEYUP, VK_DIVIDE}}},
        // A character without a key of its own: two WM_CHARs, the lead byte (0x82) first.
        KeyCase{"hiragana", 0, kNone, u8"あ", {{WM_KEYDOWN, VK_PACKET}, {WM_CHAR, 0x82}, {WM_CHAR, 0xA0}}},
        KeyCase{"half-width katakana", 0, kNone, u8"ｱ", {{WM_KEYDOWN, VK_PACKET}, {WM_CHAR, 0xB1}}},
        KeyCase{"no code page 932 form", 0, kNone, u8"€", {{WM_KEYDOWN, VK_PACKET}}}),
    [](const ::testing::TestParamInfo<KeyCase>& info) {  // names, not bytes, in test names
      std::string name = info.param.name;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

class Keyboard : public ::testing::Test {
 protected:
  void SetUp() override {
    window = MakeWindow();
    ShowWindow(window, SW_SHOW);
    ReadTranslated();
  }
  HWND window = nullptr;
};

TEST_F(Keyboard, LParamCarriesScanCodeExtendedAltAndTransitionBits) {
  Click(WidgetOf(window), Qt::Key_Up);
  Press(WidgetOf(window), Qt::Key_Alt);
  Click(WidgetOf(window), Qt::Key_X, kAlt, QStringLiteral("x"));
  std::vector<MSG> got = ReadTranslated();
  ASSERT_GE(got.size(), 4u);
  auto bits = [](const MSG& m) { return static_cast<DWORD>(m.lParam); };
  // Up: scan code 0x48, extended, a first press; its release has bits 30 and 31.
  EXPECT_EQ(bits(got[0]), 0x01480001u);
  EXPECT_EQ(bits(got[1]), 0xC1480001u);
  // Alt itself, then X with Alt: context bit 29.
  EXPECT_EQ(got[2].message, static_cast<UINT>(WM_SYSKEYDOWN));
  EXPECT_EQ(got[2].wParam, static_cast<WPARAM>(VK_MENU));
  EXPECT_EQ(got[3].message, static_cast<UINT>(WM_SYSKEYDOWN));
  EXPECT_EQ(bits(got[3]), 0x202D0001u);
}

TEST_F(Keyboard, AutoRepeatIsRepeatedKeyDownsWithThePreviousStateBit) {
  Press(WidgetOf(window), Qt::Key_Space, kNone, QStringLiteral(" "));
  Press(WidgetOf(window), Qt::Key_Space, kNone, QStringLiteral(" "), true);
  QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Space, kNone, QStringLiteral(" "), true);
  QApplication::sendEvent(WidgetOf(window), &repeatRelease);  // Qt's own pairing of repeats
  Press(WidgetOf(window), Qt::Key_Space, kNone, QStringLiteral(" "), true);
  Release(WidgetOf(window), Qt::Key_Space, kNone, QStringLiteral(" "));
  std::vector<std::pair<UINT, bool>> got;
  for (const MSG& m : ReadTranslated()) got.emplace_back(m.message, (m.lParam & (1 << 30)) != 0);
  EXPECT_EQ(got, (std::vector<std::pair<UINT, bool>>{{WM_KEYDOWN, false},
                                                     {WM_CHAR, false},
                                                     {WM_KEYDOWN, true},
                                                     {WM_CHAR, true},
                                                     {WM_KEYDOWN, true},
                                                     {WM_CHAR, true},
                                                     {WM_KEYUP, true}}));
}

TEST_F(Keyboard, KeyStateFollowsTheMessagesRead) {
  Press(WidgetOf(window), Qt::Key_Shift);
  // Pressed, but not yet read: the thread's state is not down yet, the physical state is.
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  EXPECT_LT(GetAsyncKeyState(VK_SHIFT), 0);
  ReadTranslated();
  EXPECT_LT(GetKeyState(VK_SHIFT), 0);
  EXPECT_LT(GetKeyState(VK_LSHIFT), 0);
  Release(WidgetOf(window), Qt::Key_Shift, kShift);
  ReadTranslated();
  EXPECT_GE(GetKeyState(VK_SHIFT), 0);
  EXPECT_GE(GetAsyncKeyState(VK_SHIFT), 0);
}

TEST_F(Keyboard, PostedKeyDownsAreTranslatedWithAUsLayout) {
  PostMessageA(window, WM_KEYDOWN, VK_OEM_2, 0x00350001);
  PostMessageA(window, WM_KEYDOWN, 'Q', 0x00100001);
  std::vector<std::pair<UINT, WPARAM>> got;
  for (const MSG& m : ReadTranslated()) got.emplace_back(m.message, m.wParam);
  // Posted key-downs are ordinary posted messages: their characters queue up behind them.
  EXPECT_EQ(got, (std::vector<std::pair<UINT, WPARAM>>{
                     {WM_KEYDOWN, VK_OEM_2}, {WM_KEYDOWN, 'Q'}, {WM_CHAR, '/'}, {WM_CHAR, 'q'}}));
}

TEST_F(Keyboard, MouseMessagesCarryClientPositionAndButtons) {
  QWidget* widget = WidgetOf(window);
  QPointF at(12, 34);
  QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, kCtrl);
  QApplication::sendEvent(widget, &press);
  QMouseEvent move(QEvent::MouseMove, QPointF(-3, 5), widget->mapToGlobal(QPointF(-3, 5)), Qt::NoButton,
                   Qt::LeftButton, kNone);
  QApplication::sendEvent(widget, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, kNone);
  QApplication::sendEvent(widget, &release);
  std::vector<MSG> got = ReadTranslated();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(got[0].wParam, static_cast<WPARAM>(MK_LBUTTON | MK_CONTROL));
  EXPECT_EQ(GET_X_LPARAM(got[0].lParam), 12);
  EXPECT_EQ(GET_Y_LPARAM(got[0].lParam), 34);
  // Outside the client area while the button is held: negative coordinates.
  EXPECT_EQ(got[1].message, static_cast<UINT>(WM_MOUSEMOVE));
  EXPECT_EQ(got[1].wParam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(GET_X_LPARAM(got[1].lParam), -3);
  EXPECT_EQ(got[2].message, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(got[2].wParam, 0u);
}

struct ButtonCase {
  const char* name;
  Qt::MouseButton button;
  int vk;
  UINT doubleClick;
};

void PrintTo(const ButtonCase& c, std::ostream* out) { *out << c.name; }

class MouseButtonState : public ::testing::TestWithParam<ButtonCase> {};

// A button is down in the key state from the press the thread read, a double click's too,
// until its release.
TEST_P(MouseButtonState, FollowsPressDoubleClickAndRelease) {
  const ButtonCase& c = GetParam();
  HWND window = MakeWindow(0x00CB0000, CS_DBLCLKS);
  ShowWindow(window, SW_SHOW);
  ReadTranslated();
  QWidget* widget = WidgetOf(window);
  std::vector<UINT> heard;
  auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
    QPointF at(5, 5);
    QMouseEvent event(type, at, widget->mapToGlobal(at), c.button, held, kNone);
    QApplication::sendEvent(widget, &event);
    for (const MSG& m : ReadTranslated()) heard.push_back(m.message);
    return GetKeyState(c.vk) < 0;
  };
  EXPECT_TRUE(send(QEvent::MouseButtonPress, c.button));
  EXPECT_FALSE(send(QEvent::MouseButtonRelease, Qt::NoButton));
  EXPECT_TRUE(send(QEvent::MouseButtonDblClick, c.button));
  EXPECT_FALSE(send(QEvent::MouseButtonRelease, Qt::NoButton));
  EXPECT_NE(std::find(heard.begin(), heard.end(), c.doubleClick), heard.end());
  DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Buttons, MouseButtonState,
                         ::testing::Values(ButtonCase{"Left", Qt::LeftButton, VK_LBUTTON, WM_LBUTTONDBLCLK},
                                           ButtonCase{"Right", Qt::RightButton, VK_RBUTTON, WM_RBUTTONDBLCLK},
                                           ButtonCase{"Middle", Qt::MiddleButton, VK_MBUTTON, WM_MBUTTONDBLCLK}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
