// Timers: the minimum period, replacement, no pile-up, TIMERPROC dispatch, KillTimer.
#include <gtest/gtest.h>

#include <thread>

#include "platform/kernel32/tick_count_override.h"
#include "user32_test_support.h"

using namespace user32_test;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

class Timers : public WindowTest {
 protected:
  void TearDown() override {
    WindowTest::TearDown();
    win32::testing::ClearTickCountOverride();
  }

  // Waits for the next WM_TIMER of the window through GetMessageA.
  MSG NextTimer() {
    MSG msg;
    while (GetMessageA(&msg, window, WM_TIMER, WM_TIMER) > 0) return msg;
    return MSG{};
  }
};

std::size_t CountTimers(const std::vector<MSG>& msgs, UINT_PTR id) {
  std::size_t n = 0;
  for (const MSG& m : msgs) n += m.message == WM_TIMER && m.wParam == id;
  return n;
}

TEST_F(Timers, APeriodBelowTheMinimumIsRaisedToTenMilliseconds) {
  auto start = Clock::now();
  ASSERT_NE(SetTimer(window, 1, 0, nullptr), 0u);
  MSG msg = NextTimer();
  EXPECT_EQ(msg.wParam, 1u);
  EXPECT_GE(Clock::now() - start, 10ms);
}

TEST_F(Timers, SettingAnExistingTimerAgainRestartsItsPeriod) {
  ASSERT_NE(SetTimer(window, 3, 300, nullptr), 0u);
  std::this_thread::sleep_for(200ms);
  auto restart = Clock::now();
  ASSERT_NE(SetTimer(window, 3, 300, nullptr), 0u);
  MSG msg = NextTimer();
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_GE(Clock::now() - restart, 290ms);
}

TEST_F(Timers, ALateReaderGetsOneMessagePerTimer) {
  SetTimer(window, 1, 10, nullptr);
  SetTimer(window, 2, 10, nullptr);
  std::this_thread::sleep_for(150ms);
  std::vector<MSG> got = Drain();
  EXPECT_EQ(CountTimers(got, 1), 1u);
  EXPECT_EQ(CountTimers(got, 2), 1u);
  // Reading without removing leaves the timer due.
  std::this_thread::sleep_for(30ms);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  UINT_PTR first = msg.wParam;
  ASSERT_TRUE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(msg.wParam, first);
}

TEST_F(Timers, DispatchCallsTheTimerProcWithTheTickCount) {
  static std::vector<std::tuple<HWND, UINT, UINT_PTR, DWORD>> calls;
  calls.clear();
  TIMERPROC proc = [](HWND hwnd, UINT message, UINT_PTR id, DWORD time) {
    calls.emplace_back(hwnd, message, id, time);
  };
  SetTimer(window, 9, 10, proc);
  MSG msg = NextTimer();
  EXPECT_EQ(msg.lParam, reinterpret_cast<LPARAM>(proc));
  win32::testing::SetTickCountOverride([] { return 0xABCDEFu; });
  DispatchMessageA(&msg);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::make_tuple(window, static_cast<UINT>(WM_TIMER), UINT_PTR{9}, DWORD{0xABCDEF}));
  // The window procedure itself does not hear it.
  EXPECT_TRUE(LogOf(WM_TIMER).empty());
}

TEST_F(Timers, KilledTimersStayQuietAndUnknownOnesAreRefused) {
  SetTimer(window, 4, 10, nullptr);
  std::this_thread::sleep_for(40ms);
  EXPECT_TRUE(KillTimer(window, 4));
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, window, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_FALSE(KillTimer(window, 4));
  EXPECT_FALSE(KillTimer(window, 5));
  // Destroying the window kills its timers.
  SetTimer(window, 6, 10, nullptr);
  DestroyWindow(window);
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
  EXPECT_EQ(SetTimer(window, 1, 10, nullptr), 0u);
}

TEST_F(Timers, ThreadTimersGetIdentifiersOfTheirOwn) {
  UINT_PTR a = SetTimer(nullptr, 500, 10, nullptr);
  UINT_PTR b = SetTimer(nullptr, 500, 10, nullptr);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(a, b);
  // Given its own identifier again, a thread timer is replaced, not doubled.
  EXPECT_EQ(SetTimer(nullptr, a, 20, nullptr), a);
  std::this_thread::sleep_for(50ms);
  std::vector<MSG> got = Drain();
  EXPECT_EQ(CountTimers(got, a), 1u);
  EXPECT_EQ(CountTimers(got, b), 1u);
  for (const MSG& m : got) {
    if (m.message == WM_TIMER) {
      EXPECT_EQ(m.hwnd, nullptr);
    }
  }
  EXPECT_TRUE(KillTimer(nullptr, a));
  EXPECT_TRUE(KillTimer(nullptr, b));
}

}  // namespace
