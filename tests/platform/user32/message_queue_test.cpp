// The message queue: order of retrieval, filters, WM_QUIT, posting from other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "platform/kernel32/tick_count_override.h"
#include "user32_test_support.h"

using namespace user32_test;
using namespace std::chrono_literals;

namespace {

std::vector<UINT> MessagesOf(const std::vector<MSG>& msgs) {
  std::vector<UINT> ids;
  for (const MSG& m : msgs) ids.push_back(m.message);
  return ids;
}

class MessageQueue : public WindowTest {};

TEST_F(MessageQueue, RetrievalOrderIsPostedQuitInputPaintTimer) {
  ShowWindow(window, SW_SHOW);
  DispatchPending();  // the first paint, and what showing queued
  SetTimer(window, 7, 10, nullptr);
  std::this_thread::sleep_for(30ms);
  InvalidateRect(window, nullptr, FALSE);
  Click(WidgetOf(window), Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  PostMessageA(window, WM_USER + 1, 0, 0);
  PostQuitMessage(5);
  PostMessageA(window, WM_USER + 2, 0, 0);

  std::vector<MSG> got = Drain();
  // Posted messages in their order, then the quit request, before any input, paint or timer.
  ASSERT_EQ(MessagesOf(got), (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_QUIT}));
  EXPECT_EQ(got[2].wParam, 5u);
  // The rest: input, then the paint (which comes until it is validated), then the timer.
  std::vector<UINT> rest;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    rest.push_back(msg.message);
    if (msg.message == WM_PAINT) ValidateRect(msg.hwnd, nullptr);
  }
  EXPECT_EQ(rest, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_PAINT, WM_TIMER}));
}

TEST_F(MessageQueue, GetMessageReturnsFalseOnQuitWithItsCode) {
  PostQuitMessage(42);
  MSG msg;
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 42u);
  EXPECT_EQ(GetMessageA(&msg, reinterpret_cast<HWND>(0x12345), 0, 0), -1);
}

TEST_F(MessageQueue, FiltersByWindowRangeAndKeepsWithNoRemove) {
  HWND other = MakeWindow();
  HWND child = CreateWindowExA(0, RecordingClass(), "", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  PostMessageA(other, WM_USER + 1, 0, 0);
  PostMessageA(child, WM_USER + 2, 0, 0);
  PostMessageA(window, WM_USER + 3, 0, 0);
  PostMessageA(nullptr, WM_USER + 4, 0, 0);

  MSG msg;
  // A window filter takes the window and its children, in queue order.
  ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2u);
  ASSERT_TRUE(PeekMessageA(&msg, window, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2u);
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_USER + 3, WM_USER + 3, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_FALSE(PeekMessageA(&msg, window, WM_USER, WM_USER + 10, PM_REMOVE));
  // (HWND)-1 asks for the thread's own messages only.
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 4u);
  EXPECT_EQ(msg.hwnd, nullptr);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER + 10, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, other);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER + 10, PM_REMOVE));
}

TEST_F(MessageQueue, PostFromAnotherThreadWakesABlockedGetMessage) {
  std::atomic<bool> posted{false};
  std::thread poster([&] {
    std::this_thread::sleep_for(150ms);
    posted = true;
    EXPECT_TRUE(PostMessageA(window, 0x03B9, 1, 2));
  });
  auto start = std::chrono::steady_clock::now();
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0x03B9, 0x03B9));
  poster.join();
  EXPECT_TRUE(posted);
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_EQ(msg.lParam, 2);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);
}

TEST_F(MessageQueue, SendFromAnotherThreadRunsOnTheWindowsThread) {
  std::thread::id procThread;
  SetHandler([&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
    if (message != WM_USER + 9) return std::nullopt;
    procThread = std::this_thread::get_id();
    return 77;
  });
  LRESULT result = 0;
  std::thread sender([&] { result = SendMessageA(window, WM_USER + 9, 0, 0); });
  // The call is made while this thread reads its queue.
  EXPECT_TRUE(PumpUntil([&] { return procThread != std::thread::id(); }));
  sender.join();
  SetHandler(nullptr);
  EXPECT_EQ(procThread, std::this_thread::get_id());
  EXPECT_EQ(result, 77);
}

TEST_F(MessageQueue, PostingToABadWindowFailsAndADestroyedWindowsMessagesGo) {
  SetLastError(0);
  EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x4242), WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  PostMessageA(window, WM_USER, 0, 0);
  DestroyWindow(window);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(PostMessageA(window, WM_USER, 0, 0));
}

TEST_F(MessageQueue, CallsForAWindowThatIsGoneFailWithInvalidWindowHandle) {
  HWND gone = MakeWindow();
  ASSERT_NE(gone, nullptr);
  DestroyWindow(gone);
  struct Case {
    const char* name;
    std::function<bool()> fails;
  } cases[] = {
      {"SendMessageA", [&] { return SendMessageA(gone, WM_USER, 0, 0) == 0; }},
      {"SendMessageA to no window", [] { return SendMessageA(nullptr, WM_USER, 0, 0) == 0; }},
      {"PostMessageA", [&] { return !PostMessageA(gone, WM_USER, 0, 0); }},
      {"SetTimer", [&] { return SetTimer(gone, 1, 10, nullptr) == 0; }},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_TRUE(c.fails()) << c.name;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE)) << c.name;
  }
  // Nothing was queued or scheduled for it.
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, MessageTimeIsTheRetrievedMessagesTime) {
  win32::testing::SetTickCountOverride([] { return 123456u; });
  PostMessageA(window, WM_USER, 0, 0);
  win32::testing::SetTickCountOverride([] { return 999u; });
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  win32::testing::ClearTickCountOverride();
  EXPECT_EQ(msg.time, 123456u);
  EXPECT_EQ(GetMessageTime(), 123456);
}

TEST_F(MessageQueue, DispatchCallsTheProcedureAndOnlyKnownTimerProcs) {
  MSG msg{window, WM_USER + 5, 1, 2, 0, {}};
  DispatchMessageA(&msg);
  ASSERT_EQ(LogOf(WM_USER + 5).size(), 1u);
  // A WM_TIMER with an lParam that no SetTimer was given is not called.
  static bool called = false;
  TIMERPROC stranger = [](HWND, UINT, UINT_PTR, DWORD) { called = true; };
  MSG forged{window, WM_TIMER, 1, reinterpret_cast<LPARAM>(stranger), 0, {}};
  DispatchMessageA(&forged);
  EXPECT_FALSE(called);
}

TEST_F(MessageQueue, MouseMovesCoalesce) {
  QWidget* widget = WidgetOf(window);
  for (int x = 0; x < 5; ++x) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 3), widget->mapToGlobal(QPointF(x, 3)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
  }
  std::vector<MSG> got = Drain();
  std::vector<MSG> moves;
  for (const MSG& m : got) {
    if (m.message == WM_MOUSEMOVE) moves.push_back(m);
  }
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(GET_X_LPARAM(moves[0].lParam), 4);
  EXPECT_EQ(GET_Y_LPARAM(moves[0].lParam), 3);
}

}  // namespace
