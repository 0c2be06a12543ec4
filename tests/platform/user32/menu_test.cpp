// Menus from the resource script: the menu bar, commands, radio marks, attaching and
// detaching, mnemonics.
#include <gtest/gtest.h>

#include <QActionGroup>
#include <QFocusEvent>
#include <QMenu>
#include <QMenuBar>

#include "user32_test_ids.h"
#include "user32_test_support.h"

using namespace user32_test;

namespace {

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back(Heard{hwnd, message, wParam, lParam});
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A window whose class names the menu, as a program's main window does.
HWND MakeMenuWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MenuWindowProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(ID_MAIN);
    wc.lpszClassName = "MenuWindow";
    registered = RegisterClassExA(&wc) != 0;
  }
  HWND w = CreateWindowExA(0, "MenuWindow", "menus", 0x00CB0000, 20, 20, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(w, SW_SHOW);
  DispatchPending();
  return w;
}

QMenuBar* BarOf(HWND hwnd) { return WidgetOf(hwnd)->window()->findChild<QMenuBar*>(); }

// The action of a command in the window's menu bar.
QAction* ActionOf(HWND hwnd, UINT id, const char8_t* text) {
  QString wanted = QString::fromUtf8(reinterpret_cast<const char*>(text));
  for (QAction* top : BarOf(hwnd)->actions()) {
    if (!top->menu()) continue;
    for (QAction* a : top->menu()->actions()) {
      if (a->text() == wanted) return a;
    }
  }
  ADD_FAILURE() << "no action " << id;
  return nullptr;
}

RECT WindowRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

class Menus : public ::testing::Test {
 protected:
  void SetUp() override {
    Log().clear();
    window = MakeMenuWindow();
    ASSERT_NE(window, nullptr);
    menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
  }
  HWND window = nullptr;
  HMENU menu = nullptr;
};

TEST_F(Menus, TheClassMenuIsAQtMenuBar) {
  QMenuBar* bar = BarOf(window);
  ASSERT_NE(bar, nullptr);
  QStringList titles;
  for (QAction* a : bar->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{QString::fromUtf8(u8"ゲーム(&G)"), QString::fromUtf8(u8"画面モード(&D)"),
                                 QString::fromUtf8(u8"ヘルプ(&H)")}));
  EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION), (2u << 8) | MF_POPUP);
}

TEST_F(Menus, ChoosingAnItemPostsItsCommand) {
  ActionOf(window, CMD_EXIT, u8"ゲームの終了(&X)")->trigger();
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_EQ(msg.wParam, MAKEWPARAM(CMD_EXIT, 0));
  EXPECT_EQ(msg.lParam, 0);
  // A disabled window's menu commands go nowhere.
  EnableWindow(window, FALSE);
  ActionOf(window, CMD_EXIT, u8"ゲームの終了(&X)")->trigger();
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_COMMAND, WM_COMMAND, PM_REMOVE));
}

TEST_F(Menus, RadioMarksFollowCheckMenuRadioItem) {
  QAction* windowed = ActionOf(window, CMD_WINDOW, u8"&Windowモード");
  QAction* full = ActionOf(window, CMD_FULL, u8"&FullScreenモード");
  EXPECT_TRUE(CheckMenuRadioItem(menu, CMD_WINDOW, CMD_FULL, CMD_FULL, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuState(menu, CMD_FULL, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED | MFT_RADIOCHECK));
  EXPECT_EQ(GetMenuState(menu, CMD_WINDOW, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_TRUE(full->isChecked());
  ASSERT_NE(full->actionGroup(), nullptr);
  EXPECT_TRUE(full->actionGroup()->isExclusive());  // drawn as a radio mark
  EXPECT_FALSE(windowed->isChecked());

  // Choosing the unmarked item moves no mark: that is the program's business.
  windowed->trigger();
  EXPECT_FALSE(windowed->isChecked());
  EXPECT_TRUE(full->isChecked());
  EXPECT_EQ(GetMenuState(menu, CMD_FULL, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

  EXPECT_FALSE(CheckMenuRadioItem(nullptr, CMD_WINDOW, CMD_FULL, CMD_WINDOW, MF_BYCOMMAND));
  EXPECT_EQ(GetMenuState(menu, 12345, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(Menus, ADetachedMenuKeepsItsStateAndTheWindowItsRectangle) {
  CheckMenuRadioItem(menu, CMD_WINDOW, CMD_FULL, CMD_FULL, MF_BYCOMMAND);
  RECT before = WindowRect(window);
  RECT client;
  GetClientRect(window, &client);
  Log().clear();
  ASSERT_TRUE(SetMenu(window, nullptr));
  EXPECT_EQ(GetMenu(window), nullptr);
  EXPECT_EQ(BarOf(window), nullptr);
  RECT after = WindowRect(window);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.bottom, before.bottom);
  RECT grown;
  GetClientRect(window, &grown);
  int barHeight = grown.bottom - client.bottom;
  EXPECT_GT(barHeight, 10);
  EXPECT_EQ(grown.bottom, client.bottom + GetSystemMetrics(SM_CYMENU));
  ASSERT_FALSE(LogOf(WM_SIZE).empty());
  EXPECT_EQ(HIWORD(LogOf(WM_SIZE).back().lParam), grown.bottom);

  // With no menu attached, marking does nothing and says so.
  EXPECT_FALSE(CheckMenuRadioItem(GetMenu(window), CMD_WINDOW, CMD_FULL, CMD_WINDOW, MF_BYCOMMAND));
  ASSERT_TRUE(SetMenu(window, menu));
  GetClientRect(window, &grown);
  EXPECT_EQ(grown.bottom, client.bottom);
  EXPECT_TRUE(ActionOf(window, CMD_FULL, u8"&FullScreenモード")->isChecked());
  EXPECT_FALSE(ActionOf(window, CMD_WINDOW, u8"&Windowモード")->isChecked());
}

TEST_F(Menus, AMenuTakenOffOneWindowStillShowsItsMarksInAnotherThatShowsItToo) {
  HWND other = MakeMenuWindow();
  ASSERT_TRUE(SetMenu(other, menu));
  ASSERT_TRUE(SetMenu(window, nullptr));
  CheckMenuRadioItem(menu, CMD_WINDOW, CMD_FULL, CMD_WINDOW, MF_BYCOMMAND);
  EXPECT_TRUE(ActionOf(other, CMD_WINDOW, u8"&Windowモード")->isChecked());
  DestroyWindow(other);
}

TEST_F(Menus, CheckAndEnableReturnThePreviousState) {
  EXPECT_EQ(CheckMenuItem(menu, CMD_ABOUT, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(menu, CMD_ABOUT, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(menu, 999, MF_BYCOMMAND), static_cast<DWORD>(-1));
  EXPECT_EQ(EnableMenuItem(menu, CMD_ABOUT, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
  EXPECT_FALSE(ActionOf(window, CMD_ABOUT, u8"情報(&A)")->isEnabled());
  EXPECT_EQ(EnableMenuItem(menu, CMD_ABOUT, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
  EXPECT_TRUE(ActionOf(window, CMD_ABOUT, u8"情報(&A)")->isEnabled());
}

TEST_F(Menus, AltAndAMnemonicOpensItsDropDown) {
  Press(WidgetOf(window), Qt::Key_Alt);
  Click(WidgetOf(window), Qt::Key_D, Qt::AltModifier, QStringLiteral("d"));
  ASSERT_TRUE(PumpUntil([&] { return BarOf(window)->activeAction() != nullptr; }));
  EXPECT_EQ(BarOf(window)->activeAction()->text(), QString::fromUtf8(u8"画面モード(&D)"));
  // Opening the drop-down tells the window, as Windows does, before anything is chosen.
  ASSERT_TRUE(PumpUntil([] { return !LogOf(WM_INITMENUPOPUP).empty(); }));
  EXPECT_EQ(LogOf(WM_INITMENU).front().wParam, reinterpret_cast<WPARAM>(menu));
  EXPECT_EQ(LOWORD(LogOf(WM_INITMENUPOPUP).front().lParam), 1);
}

TEST_F(Menus, AltOrF10AloneOpensTheMenuBarButNotAfterAnotherKeyOrAFocusLoss) {
  QWidget* w = WidgetOf(window);
  Press(w, Qt::Key_Alt);
  Click(w, Qt::Key_X, Qt::AltModifier, QStringLiteral("x"));
  Release(w, Qt::Key_Alt, Qt::AltModifier);
  Press(w, Qt::Key_Alt);
  QFocusEvent away(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
  QApplication::sendEvent(w, &away);  // Alt+Tab to another window
  Release(w, Qt::Key_Alt, Qt::AltModifier);
  DispatchPending();
  EXPECT_EQ(BarOf(window)->activeAction(), nullptr);

  Click(w, Qt::Key_F10);
  ASSERT_TRUE(PumpUntil([&] { return BarOf(window)->activeAction() != nullptr; }));
  EXPECT_EQ(BarOf(window)->activeAction()->text(), QString::fromUtf8(u8"ゲーム(&G)"));
}

TEST_F(Menus, DestroyedMenusAreGone) {
  HMENU loaded = LoadMenuA(nullptr, MAKEINTRESOURCEA(ID_MAIN));
  ASSERT_NE(loaded, nullptr);
  EXPECT_NE(loaded, menu);
  EXPECT_TRUE(DestroyMenu(loaded));
  EXPECT_EQ(GetMenuState(loaded, 0, MF_BYPOSITION), static_cast<UINT>(-1));
  EXPECT_FALSE(DestroyMenu(loaded));
  EXPECT_FALSE(SetMenu(window, loaded));
  EXPECT_EQ(LoadMenuA(nullptr, MAKEINTRESOURCEA(4242)), nullptr);
}

}  // namespace
