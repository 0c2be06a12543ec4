// Accelerators through a program's message loop: exact modifier states, character entries
// with Alt, disabled windows and grey items.
#include <gtest/gtest.h>

#include "user32_test_ids.h"
#include "user32_test_support.h"

using namespace user32_test;

namespace {

LRESULT CALLBACK AccelWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back(Heard{hwnd, message, wParam, lParam});
  if (message == WM_CLOSE) return 0;  // kept open, so that Alt+F4 can be looked at
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

struct Chord {
  int key;
  Qt::KeyboardModifiers modifiers;
  const char* text;
};

struct AccelCase {
  const char* name;
  Chord chord;
  int command;  // 0: none
};

void PrintTo(const AccelCase& c, std::ostream* out) { *out << c.name; }

class Accelerators : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    static bool registered = false;
    if (!registered) {
      WNDCLASSEXA wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = AccelWindowProc;
      wc.lpszMenuName = MAKEINTRESOURCEA(ID_MAIN);
      wc.lpszClassName = "AccelWindow";
      registered = RegisterClassExA(&wc) != 0;
    }
    window = CreateWindowExA(0, "AccelWindow", "", 0x00CB0000, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOW);
    table = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(ID_MAIN));
    ASSERT_NE(table, nullptr);
    Loop();
    Log().clear();
  }

  // A program's message loop: accelerators first, translation and dispatch otherwise.
  void Loop() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (TranslateAcceleratorA(msg.hwnd, table, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void Play(const Chord& chord) {
    QWidget* w = WidgetOf(window);
    Qt::KeyboardModifiers held;
    if (chord.modifiers & Qt::ShiftModifier) Press(w, Qt::Key_Shift, held), held |= Qt::ShiftModifier;
    if (chord.modifiers & Qt::ControlModifier) Press(w, Qt::Key_Control, held), held |= Qt::ControlModifier;
    if (chord.modifiers & Qt::AltModifier) Press(w, Qt::Key_Alt, held), held |= Qt::AltModifier;
    Click(w, chord.key, chord.modifiers, QString::fromLatin1(chord.text));
    if (chord.modifiers & Qt::AltModifier) Release(w, Qt::Key_Alt, held), held &= ~Qt::AltModifier;
    if (chord.modifiers & Qt::ControlModifier) Release(w, Qt::Key_Control, held), held &= ~Qt::ControlModifier;
    if (chord.modifiers & Qt::ShiftModifier) Release(w, Qt::Key_Shift, held);
    Loop();
  }

  std::vector<WPARAM> Commands() {
    std::vector<WPARAM> result;
    for (const Heard& h : LogOf(WM_COMMAND)) result.push_back(h.wParam);
    return result;
  }

  HWND window = nullptr;
  HACCEL table = nullptr;
};

class AcceleratorKeys : public Accelerators, public ::testing::WithParamInterface<AccelCase> {};

TEST_P(AcceleratorKeys, SendTheirCommandWithHighWordOne) {
  Play(GetParam().chord);
  std::vector<WPARAM> expected;
  if (GetParam().command) expected.push_back(MAKEWPARAM(GetParam().command, 1));
  EXPECT_EQ(Commands(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AcceleratorKeys,
    ::testing::Values(AccelCase{"F4", {Qt::Key_F4, Qt::NoModifier, ""}, CMD_WINDOW},
                      AccelCase{"CtrlF4", {Qt::Key_F4, Qt::ControlModifier, ""}, CMD_FULL},
                      AccelCase{"ShiftF4", {Qt::Key_F4, Qt::ShiftModifier, ""}, 0},
                      AccelCase{"CtrlShiftF4", {Qt::Key_F4, Qt::ControlModifier | Qt::ShiftModifier, ""}, 0},
                      AccelCase{"F1", {Qt::Key_F1, Qt::NoModifier, ""}, CMD_ABOUT},
                      AccelCase{"CtrlF1", {Qt::Key_F1, Qt::ControlModifier, ""}, 0},
                      AccelCase{"Esc", {Qt::Key_Escape, Qt::NoModifier, "\x1b"}, CMD_EXIT},
                      AccelCase{"AltSlash", {Qt::Key_Slash, Qt::AltModifier, "/"}, CMD_ABOUT},
                      AccelCase{"AltQuestion", {Qt::Key_Question, Qt::AltModifier | Qt::ShiftModifier, "?"}, CMD_ABOUT},
                      AccelCase{"SlashAlone", {Qt::Key_Slash, Qt::NoModifier, "/"}, 0},
                      AccelCase{"CharacterEntryWithoutAlt", {Qt::Key_Q, Qt::NoModifier, "q"}, CMD_NOT_IN_MENU},
                      AccelCase{"CharacterEntryIsCaseSensitive", {Qt::Key_Q, Qt::ShiftModifier, "Q"}, 0},
                      AccelCase{"CharacterEntryNotWithAlt", {Qt::Key_Q, Qt::AltModifier, "q"}, 0}),
    [](const ::testing::TestParamInfo<AccelCase>& info) { return std::string(info.param.name); });

TEST_F(Accelerators, TakenKeysReachNothingElse) {
  Play({Qt::Key_Slash, Qt::AltModifier, "/"});
  // The WM_SYSCHAR went to the accelerator, not to the window (nor to its menu's mnemonics).
  EXPECT_TRUE(LogOf(WM_SYSCHAR).empty());
  Play({Qt::Key_Slash, Qt::NoModifier, "/"});
  ASSERT_EQ(LogOf(WM_CHAR).size(), 1u);
  EXPECT_EQ(LogOf(WM_CHAR)[0].wParam, static_cast<WPARAM>('/'));
}

TEST_F(Accelerators, AltF4IsNoAcceleratorButTheWindowsClose) {
  Play({Qt::Key_F4, Qt::AltModifier, ""});
  EXPECT_TRUE(Commands().empty());
  ASSERT_EQ(LogOf(WM_SYSCOMMAND).size(), 1u);
  EXPECT_EQ(LogOf(WM_SYSCOMMAND)[0].wParam & 0xFFF0, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_EQ(LogOf(WM_CLOSE).size(), 1u);
}

TEST_F(Accelerators, MenuItemsAreInitialisedFirst) {
  Play({Qt::Key_F4, Qt::NoModifier, ""});
  std::vector<UINT> order;
  for (const Heard& h : Log()) {
    if (h.message == WM_INITMENU || h.message == WM_INITMENUPOPUP || h.message == WM_COMMAND) order.push_back(h.message);
  }
  EXPECT_EQ(order, (std::vector<UINT>{WM_INITMENU, WM_INITMENUPOPUP, WM_COMMAND}));
  EXPECT_EQ(LogOf(WM_INITMENUPOPUP)[0].wParam, reinterpret_cast<WPARAM>(GetSubMenu(GetMenu(window), 1)));
}

TEST_F(Accelerators, SuppressedForADisabledWindowAndAGreyItemYetTaken) {
  MSG keyDown{window, WM_KEYDOWN, VK_F1, 0x003B0001, 0, {}};
  EnableWindow(window, FALSE);
  EXPECT_EQ(TranslateAcceleratorA(window, table, &keyDown), 1);
  EnableWindow(window, TRUE);
  EnableMenuItem(GetMenu(window), CMD_ABOUT, MF_BYCOMMAND | MF_GRAYED);
  EXPECT_EQ(TranslateAcceleratorA(window, table, &keyDown), 1);
  EXPECT_TRUE(Commands().empty());
  EnableMenuItem(GetMenu(window), CMD_ABOUT, MF_BYCOMMAND | MF_ENABLED);
  EXPECT_EQ(TranslateAcceleratorA(window, table, &keyDown), 1);
  EXPECT_EQ(Commands(), (std::vector<WPARAM>{MAKEWPARAM(CMD_ABOUT, 1)}));
  // Other messages are no business of accelerators.
  MSG paint{window, WM_PAINT, 0, 0, 0, {}};
  EXPECT_EQ(TranslateAcceleratorA(window, table, &paint), 0);
  EXPECT_TRUE(DestroyAcceleratorTable(table));
  EXPECT_EQ(TranslateAcceleratorA(window, table, &keyDown), 0);
  EXPECT_EQ(LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(4242)), nullptr);
}

}  // namespace
