// Where no audio device can be opened the calls fail quietly and the reason is said once.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32.h"
#include "tests/platform/winmm/test_sounds.h"

namespace {

TEST(NoAudioDevice, SoundsFailAndTheProblemIsReportedOnce) {
  winmm_test::WriteBytes("tone.wav", winmm_test::ConstantWave(100, 0.1));
  winmm_test::WriteBytes("tune.mid", winmm_test::ScaleMidi(2, 0.1));
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(mciSendStringA("open tune.mid alias m", nullptr, 0, nullptr), static_cast<MCIERROR>(MCIERR_HARDWARE));
  EXPECT_EQ(mciSendStringA("play m notify", nullptr, 0, nullptr), static_cast<MCIERROR>(MCIERR_INVALID_DEVICE_NAME));
  EXPECT_EQ(mciSendStringA("open tone.wav alias w", nullptr, 0, nullptr), static_cast<MCIERROR>(MCIERR_HARDWARE));
  EXPECT_FALSE(sndPlaySoundA("tone.wav", SND_ASYNC));
  EXPECT_FALSE(sndPlaySoundA("tone.wav", SND_SYNC));
  EXPECT_FALSE(sndPlaySoundA("missing.wav", SND_ASYNC | SND_NODEFAULT));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
  EXPECT_NE(said.find("sound is silent"), std::string::npos) << said;
  EXPECT_NE(said.find("cannot play missing.wav: file not found"), std::string::npos) << said;
}

}  // namespace
