// Window and client rectangles, sizing by the client area, styles and the frame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/user32/frame_metrics.h"
#include "user32_test_support.h"

using namespace user32_test;

namespace {

SIZE ClientSize(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return SIZE{r.right, r.bottom};
}

RECT WindowRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

// Sizes the window so that its client area gets this size: the difference of the window's
// outer and client rectangles, measured now, is the frame.
void SetClientSize(HWND hwnd, int width, int height) {
  RECT w = WindowRect(hwnd);
  SIZE c = ClientSize(hwnd);
  SetWindowPos(hwnd, nullptr, 0, 0, width + (w.right - w.left - c.cx), height + (w.bottom - w.top - c.cy),
               SWP_NOMOVE | SWP_NOZORDER);
}

bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A window manager's decoration as if one had reported it: 5 pixels around, 25 on top.
const QMargins kDecoration(5, 25, 5, 5);

class Geometry : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    Log().clear();
    win32::user32::NoteDecoration(GetParam() ? kDecoration : QMargins());
  }
  void TearDown() override { SetHandler(nullptr); }
};

TEST_P(Geometry, SizingByTheClientAreaGivesExactlyThatClientArea) {
  HWND w = MakeWindow();
  ASSERT_NE(w, nullptr);
  SetClientSize(w, 640, 480);
  EXPECT_EQ(ClientSize(w).cx, 640);
  EXPECT_EQ(ClientSize(w).cy, 480);
  RECT outer = WindowRect(w);
  int frameWidth = GetParam() ? 10 : 0;
  int frameHeight = GetParam() ? 30 : 0;
  EXPECT_EQ(outer.right - outer.left, 640 + frameWidth);
  EXPECT_EQ(outer.bottom - outer.top, 480 + frameHeight);
  // The Qt widgets agree: the client widget is as large as the client area.
  EXPECT_EQ(WidgetOf(w)->size(), QSize(640, 480));
}

TEST_P(Geometry, AdjustWindowRectExMatchesTheWindowsItMakes) {
  const DWORD style = 0x00CB0000;
  RECT r{0, 0, 640, 480};
  ASSERT_TRUE(AdjustWindowRectEx(&r, style, FALSE, 0));
  HWND w = CreateWindowExA(0, RecordingClass(), "", style, 10, 10, r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                           nullptr, nullptr);
  EXPECT_EQ(ClientSize(w).cx, 640);
  EXPECT_EQ(ClientSize(w).cy, 480);
  // The client area begins inside the frame.
  POINT origin{0, 0};
  ClientToScreen(w, &origin);
  EXPECT_EQ(origin.x, 10 - r.left);
  EXPECT_EQ(origin.y, 10 - r.top);
  ScreenToClient(w, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
}

TEST_P(Geometry, RemovingTheCaptionKeepsTheWindowRectAndGrowsTheClientArea) {
  HWND w = MakeWindow();
  SetClientSize(w, 640, 480);
  RECT before = WindowRect(w);
  Log().clear();
  LONG style = GetWindowLongA(w, GWL_STYLE);
  SetWindowLongA(w, GWL_STYLE, style ^ WS_CAPTION);
  EXPECT_TRUE(WindowRect(w) == before);
  EXPECT_EQ(ClientSize(w).cx, 640 + (GetParam() ? 10 : 0));
  EXPECT_EQ(ClientSize(w).cy, 480 + (GetParam() ? 30 : 0));
  ASSERT_EQ(LogOf(WM_STYLECHANGING).size(), 1u);
  ASSERT_EQ(LogOf(WM_STYLECHANGED).size(), 1u);
  EXPECT_EQ(LogOf(WM_STYLECHANGED)[0].wParam, static_cast<WPARAM>(GWL_STYLE));
  // The frame goes from the window manager too.
  EXPECT_TRUE(WidgetOf(w)->window()->windowFlags() & Qt::FramelessWindowHint);

  SetWindowLongA(w, GWL_STYLE, style);
  EXPECT_TRUE(WindowRect(w) == before);
  EXPECT_EQ(ClientSize(w).cx, 640);
  EXPECT_EQ(ClientSize(w).cy, 480);
  EXPECT_FALSE(WidgetOf(w)->window()->windowFlags() & Qt::FramelessWindowHint);
}

INSTANTIATE_TEST_SUITE_P(Decoration, Geometry, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Known" : "None"; });

class Windows : public ::testing::Test {
 protected:
  void SetUp() override { Log().clear(); }
  void TearDown() override { SetHandler(nullptr); }
};

TEST_F(Windows, CreationSendsItsMessagesInOrder) {
  HWND w = CreateWindowExA(0, RecordingClass(), "caption", WS_OVERLAPPEDWINDOW, 1, 2, 300, 200, nullptr, nullptr,
                           nullptr, reinterpret_cast<LPVOID>(0x1234));
  ASSERT_NE(w, nullptr);
  std::vector<UINT> heard;
  for (const Heard& h : Log()) heard.push_back(h.message);
  ASSERT_GE(heard.size(), 4u);
  EXPECT_EQ(std::vector<UINT>(heard.begin(), heard.begin() + 4),
            (std::vector<UINT>{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE}));
  char text[32];
  EXPECT_EQ(GetWindowTextA(w, text, sizeof text), 7);
  EXPECT_STREQ(text, "caption");
  EXPECT_EQ(GetWindowTextLengthA(w), 7);
  EXPECT_EQ(WidgetOf(w)->window()->windowTitle(), QStringLiteral("caption"));
}

TEST_F(Windows, CreateStructCarriesTheParametersAndWmCreateCanRefuse) {
  LPVOID seen = nullptr;
  SetHandler([&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message != WM_CREATE) return std::nullopt;
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
    seen = cs->lpCreateParams;
    return cs->cx == 123 ? -1 : 0;
  });
  HWND ok = CreateWindowExA(0, RecordingClass(), "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                            reinterpret_cast<LPVOID>(0x1234));
  EXPECT_NE(ok, nullptr);
  EXPECT_EQ(seen, reinterpret_cast<LPVOID>(0x1234));
  Log().clear();
  HWND refused = CreateWindowExA(0, RecordingClass(), "", WS_POPUP, 0, 0, 123, 50, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(refused, nullptr);
  EXPECT_EQ(LogOf(WM_DESTROY).size(), 1u);
  EXPECT_EQ(LogOf(WM_NCDESTROY).size(), 1u);
}

TEST_F(Windows, UnknownClassesAndDuplicateRegistrationsFail) {
  SetLastError(0);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  const char* name = RecordingClass();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  std::string other(name);
  for (char& c : other) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  wc.lpszClassName = other.c_str();  // class names do not care about case
  EXPECT_EQ(RegisterClassExA(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  EXPECT_NE(CreateWindowExA(0, other.c_str(), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(Windows, GetClassNameCopiesWholeCharactersOnly) {
  const std::string name = Sjis(u8"AB漢字");  // 6 bytes: two single, two double
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = name.c_str();
  ASSERT_NE(RegisterClassExA(&wc), 0);
  HWND w = CreateWindowExA(0, name.c_str(), "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  struct Case {
    int size;
    const char8_t* expected;
  } cases[] = {{64, u8"AB漢字"}, {7, u8"AB漢字"}, {6, u8"AB漢"}, {5, u8"AB漢"}, {4, u8"AB"}, {2, u8"A"}, {1, u8""}};
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    std::string expected = Sjis(c.expected);
    EXPECT_EQ(GetClassNameA(w, buffer, c.size), static_cast<int>(expected.size())) << c.size;
    EXPECT_EQ(std::string(buffer), expected) << c.size;
  }
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassA(name.c_str(), nullptr));
}

TEST_F(Windows, UnregisteringRefusesAClassWithWindowsAndClassesItDoesNotHave) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "Passing";
  ATOM atom = RegisterClassExA(&wc);
  ASSERT_NE(atom, 0);
  HWND w = CreateWindowExA(0, "Passing", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  SetLastError(0);
  EXPECT_FALSE(UnregisterClassA("PASSING", nullptr));
  EXPECT_EQ(GetLastError(), 1412u);  // ERROR_CLASS_HAS_WINDOWS
  DestroyWindow(w);
  EXPECT_TRUE(UnregisterClassA(MAKEINTRESOURCEA(atom), nullptr));  // by its atom
  for (LPCSTR name : {"Passing", "NoSuchClass", "BUTTON", static_cast<LPCSTR>(nullptr)}) {
    SetLastError(0);
    EXPECT_FALSE(UnregisterClassA(name, nullptr)) << (name ? name : "null");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS)) << (name ? name : "null");
  }
}

TEST_F(Windows, DestroyingSendsDestroyTopDownAndNcDestroyBottomUp) {
  HWND parent = MakeWindow();
  HWND child = CreateWindowExA(0, RecordingClass(), "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
  HWND grandchild = CreateWindowExA(0, RecordingClass(), "", WS_CHILD, 0, 0, 5, 5, child, nullptr, nullptr, nullptr);
  SetTimer(child, 1, 10, nullptr);
  Log().clear();
  EXPECT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> heard;
  for (const Heard& h : Log()) {
    if (h.message == WM_DESTROY || h.message == WM_NCDESTROY) heard.emplace_back(h.hwnd, h.message);
  }
  EXPECT_EQ(heard, (std::vector<std::pair<HWND, UINT>>{{parent, WM_DESTROY},
                                                       {child, WM_DESTROY},
                                                       {grandchild, WM_DESTROY},
                                                       {grandchild, WM_NCDESTROY},
                                                       {child, WM_NCDESTROY},
                                                       {parent, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(parent));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandchild));
  EXPECT_FALSE(KillTimer(child, 1));
}

TEST_F(Windows, CloseBoxAndWmCloseDestroyThroughDefWindowProc) {
  HWND w = MakeWindow();
  ShowWindow(w, SW_SHOW);
  WidgetOf(w)->window()->close();  // the window manager's close
  EXPECT_TRUE(IsWindow(w));        // nothing happens until the message loop runs
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(w); }));
  ASSERT_EQ(LogOf(WM_SYSCOMMAND).size(), 1u);
  EXPECT_EQ(LogOf(WM_SYSCOMMAND)[0].wParam & 0xFFF0, static_cast<WPARAM>(SC_CLOSE));
  EXPECT_EQ(LogOf(WM_CLOSE).size(), 1u);
}

TEST_F(Windows, ChangesTellTheProcedureWithSizeAndMove) {
  HWND w = CreateWindowExA(0, RecordingClass(), "", WS_POPUP, 10, 20, 100, 50, nullptr, nullptr, nullptr, nullptr);
  Log().clear();
  SetWindowPos(w, nullptr, 10, 20, 100, 50, SWP_NOZORDER);  // no change: nothing to tell
  EXPECT_TRUE(LogOf(WM_SIZE).empty());
  EXPECT_TRUE(LogOf(WM_MOVE).empty());
  MoveWindow(w, 30, 40, 120, 60, TRUE);
  ASSERT_EQ(LogOf(WM_SIZE).size(), 1u);
  EXPECT_EQ(LogOf(WM_SIZE)[0].lParam, MAKELPARAM(120, 60));
  ASSERT_EQ(LogOf(WM_MOVE).size(), 1u);
  EXPECT_EQ(LogOf(WM_MOVE)[0].lParam, MAKELPARAM(30, 40));
  // WM_WINDOWPOSCHANGING may amend the change.
  SetHandler([](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
    if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->cx = 77;
    return std::nullopt;
  });
  SetWindowPos(w, nullptr, 0, 0, 200, 60, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ClientSize(w).cx, 77);
}

TEST_F(Windows, MaximisingEnlargesAndRestoringReturns) {
  HWND w = MakeWindow();
  ShowWindow(w, SW_SHOW);
  RECT before = WindowRect(w);
  SIZE small = ClientSize(w);
  Log().clear();
  ShowWindow(w, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(w));
  EXPECT_TRUE(GetWindowLongA(w, GWL_STYLE) & WS_MAXIMIZE);
  EXPECT_GT(ClientSize(w).cx, small.cx);
  EXPECT_GT(ClientSize(w).cy, small.cy);
  ASSERT_FALSE(LogOf(WM_SIZE).empty());
  EXPECT_EQ(LogOf(WM_SIZE).back().wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
  ShowWindow(w, SW_RESTORE);
  EXPECT_FALSE(IsZoomed(w));
  EXPECT_TRUE(WindowRect(w) == before);
}

TEST_F(Windows, WindowLongsAndExtraBytes) {
  HWND w = MakeWindow();
  EXPECT_EQ(SetWindowLongPtrA(w, GWLP_USERDATA, 0x5150), 0);
  EXPECT_EQ(GetWindowLongPtrA(w, GWLP_USERDATA), 0x5150);
  EXPECT_EQ(SetWindowLongA(w, 4, 99), 0);  // the class's 16 extra bytes
  EXPECT_EQ(GetWindowLongA(w, 4), 99);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongA(w, 14), 0);  // past the extra bytes
  EXPECT_EQ(GetLastError(), 1413u);
  EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & 0x00CB0000, 0x00CB0000);
  // A sub-classing procedure takes the messages.
  static int subclassed = 0;
  WNDPROC proc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_USER) ++subclassed;
    return DefWindowProcA(hwnd, message, wParam, lParam);
  };
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
  SendMessageA(w, WM_USER, 0, 0);
  EXPECT_EQ(subclassed, 1);
  EXPECT_EQ(CallWindowProcA(old, w, WM_USER + 1, 0, 0), 0);
  EXPECT_EQ(LogOf(WM_USER + 1).size(), 1u);
}

TEST_F(Windows, DisabledWindowsGetNoInput) {
  HWND w = MakeWindow();
  ShowWindow(w, SW_SHOW);
  DispatchPending();
  EXPECT_FALSE(EnableWindow(w, FALSE));
  EXPECT_FALSE(IsWindowEnabled(w));
  ASSERT_EQ(LogOf(WM_ENABLE).size(), 1u);
  EXPECT_EQ(LogOf(WM_ENABLE)[0].wParam, static_cast<WPARAM>(FALSE));
  Click(WidgetOf(w), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), QPointF(3, 3), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(WidgetOf(w), &move);
  DispatchPending();
  EXPECT_TRUE(LogOf(WM_KEYDOWN).empty());
  EXPECT_TRUE(LogOf(WM_MOUSEMOVE).empty());
  EXPECT_TRUE(EnableWindow(w, TRUE));  // it was disabled
  Click(WidgetOf(w), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  DispatchPending();
  EXPECT_EQ(LogOf(WM_KEYDOWN).size(), 1u);
}

}  // namespace
