// mciSendStringA as the program calls it, on SDL's disk driver.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/win32.h"
#include "tests/platform/winmm/disk_output.h"
#include "tests/platform/winmm/test_sounds.h"

namespace {

using namespace std::chrono_literals;
using namespace winmm_test;

const auto* const kDiskOutput = ::testing::AddGlobalTestEnvironment(new DiskOutputEnvironment);

std::string Mci(const std::string& command) {
  char reply[128] = "untouched";
  MCIERROR error = mciSendStringA(command.c_str(), reply, sizeof reply, nullptr);
  EXPECT_EQ(error, 0u) << command;
  return reply;
}

TEST(MciApi, MusicIsHeardWhilePlayingAndNotAfterStop) {
  const std::string song = TestFile(".mid");
  WriteBytes(song, ScaleMidi(7, 0.5));
  EXPECT_EQ(Mci("open " + song + " alias music"), "1");
  const std::size_t started = WrittenSamples();
  Mci("play music");
  WaitForOutput(started, Samples(1.0));
  EXPECT_GT(Rms(ReadOutput(), started, Samples(1.0)), 0.01);

  Mci("stop music");
  const std::size_t stopped = WrittenSamples();
  WaitForOutput(stopped, Samples(0.8));
  // The notes fade out over 300 ms; the output lags the command by a few blocks.
  EXPECT_TRUE(AllZero(ReadOutput(), stopped + Samples(0.45), Samples(0.35)));
  Mci("close music");
}

TEST(MciApi, PlayAfterStopResumesAndSeekToStartRewinds) {
  const std::string song = TestFile(".mid");
  WriteBytes(song, ScaleMidi(7, 0.5));
  Mci("open " + song + " alias music");
  Mci("play music");
  WaitForOutput(WrittenSamples(), Samples(0.8));
  Mci("stop music");
  const int stopped_at = std::stoi(Mci("status music position"));
  EXPECT_GE(stopped_at, 700);
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(std::stoi(Mci("status music position")), stopped_at);
  EXPECT_EQ(Mci("status music mode"), "stopped");

  Mci("play music");
  WaitForOutput(WrittenSamples(), Samples(0.3));
  EXPECT_EQ(Mci("status music mode"), "playing");
  EXPECT_GT(std::stoi(Mci("status music position")), stopped_at + 200);

  Mci("seek music to start");
  EXPECT_EQ(Mci("status music position"), "0");
  EXPECT_EQ(Mci("status music mode"), "stopped");
  Mci("play music");
  WaitForOutput(WrittenSamples(), Samples(0.1));
  EXPECT_LT(std::stoi(Mci("status music position")), stopped_at);
  Mci("close music");
}

TEST(MciApi, RepliesGoIntoTheCallersBuffer) {
  const std::string wave = TestFile(".wav");
  WriteBytes(wave, ConstantWave(100, 0.5));
  EXPECT_EQ(mciSendStringA(("open " + wave + " alias w").c_str(), nullptr, 0, nullptr), 0u);
  // "500" needs four bytes with its terminator: three are too few, and the buffer is
  // left empty rather than holding a cut answer.
  char small[3] = "ab";
  EXPECT_EQ(mciSendStringA("status w length", small, sizeof small, nullptr),
            static_cast<MCIERROR>(MCIERR_PARAM_OVERFLOW));
  EXPECT_STREQ(small, "");
  char fits[4];
  EXPECT_EQ(mciSendStringA("status w length", fits, sizeof fits, nullptr), 0u);
  EXPECT_STREQ(fits, "500");
  EXPECT_EQ(mciSendStringA("status w mode", fits, sizeof fits, nullptr), static_cast<MCIERROR>(MCIERR_PARAM_OVERFLOW));
  char cleared[8] = "junk";
  EXPECT_EQ(mciSendStringA("stop w", cleared, sizeof cleared, nullptr), 0u);
  EXPECT_STREQ(cleared, "");
  EXPECT_EQ(mciSendStringA(nullptr, nullptr, 0, nullptr), static_cast<MCIERROR>(MCIERR_MISSING_COMMAND_STRING));
  EXPECT_EQ(mciSendStringA("close w", nullptr, 0, nullptr), 0u);
}

// A hidden window of the test's own, to which MM_MCINOTIFY is posted.
class NotifiedWindow {
 public:
  NotifiedWindow() {
    WNDCLASSEXA type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = &DefWindowProcA;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "MciNotifiedWindow";
    RegisterClassExA(&type);
    window_ = CreateWindowExA(0, "MciNotifiedWindow", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                              type.hInstance, nullptr);
  }
  ~NotifiedWindow() { DestroyWindow(window_); }
  HWND get() const { return window_; }

  // The next MM_MCINOTIFY for the window, or a message with wParam 0 after 10 s.
  MSG Next() const {
    MSG message{};
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
      if (PeekMessageA(&message, window_, MM_MCINOTIFY, MM_MCINOTIFY, PM_REMOVE)) return message;
      std::this_thread::sleep_for(5ms);
    }
    return MSG{};
  }
  bool NoneWaiting() const {
    MSG message;
    return !PeekMessageA(&message, window_, MM_MCINOTIFY, MM_MCINOTIFY, PM_NOREMOVE);
  }

 private:
  HWND window_ = nullptr;
};

TEST(MciApi, PlaysEndOrAreAbortedWithANotificationToTheirWindow) {
  NotifiedWindow window;
  ASSERT_NE(window.get(), nullptr);
  const std::string song = TestFile(".mid");
  WriteBytes(song, ScaleMidi(2, 0.25));
  const int device = std::stoi(Mci("open " + song + " alias short"));

  ASSERT_EQ(mciSendStringA("play short notify", nullptr, 0, window.get()), 0u);
  MSG ended = window.Next();
  EXPECT_EQ(ended.message, static_cast<UINT>(MM_MCINOTIFY));
  EXPECT_EQ(ended.wParam, static_cast<WPARAM>(MCI_NOTIFY_SUCCESSFUL));
  EXPECT_EQ(ended.lParam, device);
  EXPECT_EQ(Mci("status short mode"), "stopped");

  // As the game loops its music: rewind, play again, and this time stop it.
  Mci("seek short to start");
  ASSERT_EQ(mciSendStringA("play short notify", nullptr, 0, window.get()), 0u);
  Mci("stop short");
  MSG stopped = window.Next();
  EXPECT_EQ(stopped.wParam, static_cast<WPARAM>(MCI_NOTIFY_ABORTED));
  EXPECT_EQ(stopped.lParam, device);
  std::this_thread::sleep_for(700ms);
  EXPECT_TRUE(window.NoneWaiting()) << "a stopped play must not also report its end";
  Mci("close short");
}

}  // namespace
