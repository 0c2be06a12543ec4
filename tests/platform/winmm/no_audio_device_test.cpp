// Where no audio device can be opened the calls succeed and their sounds take their time in
// silence; the reason is said once.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "platform/win32.h"
#include "tests/platform/winmm/test_sounds.h"

namespace {

using namespace std::chrono_literals;

// How long a call takes.
template <typename Call>
std::chrono::steady_clock::duration Timed(Call call) {
  const auto start = std::chrono::steady_clock::now();
  call();
  return std::chrono::steady_clock::now() - start;
}

TEST(NoAudioDevice, SoundsPlayInSilenceAndTheProblemIsReportedOnce) {
  winmm_test::WriteBytes("tone.wav", winmm_test::ConstantWave(100, 0.3));
  winmm_test::WriteBytes("tune.mid", winmm_test::ScaleMidi(2, 0.15));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(mciSendStringA("open tune.mid alias m", nullptr, 0, nullptr), 0u);
  // Nothing would ever end a wait if nothing played the sounds while there is no device.
  EXPECT_GE(Timed([] { EXPECT_EQ(mciSendStringA("play m wait", nullptr, 0, nullptr), 0u); }), 250ms);
  EXPECT_EQ(mciSendStringA("close m", nullptr, 0, nullptr), 0u);
  EXPECT_GE(Timed([] { EXPECT_TRUE(sndPlaySoundA("tone.wav", SND_SYNC)); }), 250ms);
  EXPECT_FALSE(sndPlaySoundA("missing.wav", SND_ASYNC | SND_NODEFAULT));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
  EXPECT_NE(said.find("cannot open the audio device"), std::string::npos) << said;
  EXPECT_NE(said.find("sound is silent"), std::string::npos) << said;
  EXPECT_NE(said.find("cannot play missing.wav: file not found"), std::string::npos) << said;
}

}  // namespace
