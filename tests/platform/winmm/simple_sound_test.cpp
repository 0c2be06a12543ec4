// sndPlaySoundA's player, driven offline through its own mixer.
#include "platform/winmm/simple_sound.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/platform/winmm/test_sounds.h"

namespace {

using win32::winmm::Mixer;
using win32::winmm::SimpleSoundPlayer;
using winmm_test::Render;
using winmm_test::Samples;

class SimpleSoundTest : public ::testing::Test {
 protected:
  SimpleSoundTest() {
    winmm_test::WriteBytes(long_, winmm_test::ConstantWave(1000, 2.0));
    winmm_test::WriteBytes(short_, winmm_test::ConstantWave(3000, 0.2));
  }

  Mixer mixer_;
  bool output_available_ = true;
  SimpleSoundPlayer player_{mixer_, [this] { return output_available_; }};
  const std::string long_ = winmm_test::TestFile("_long.wav");
  const std::string short_ = winmm_test::TestFile("_short.wav");
};

TEST_F(SimpleSoundTest, ANewSoundCutsOffTheOneThatPlays) {
  ASSERT_TRUE(player_.Play(long_.c_str(), SND_ASYNC));
  std::vector<std::int16_t> first = Render(mixer_, 0.1);
  EXPECT_EQ(std::count(first.begin(), first.end(), 1000), static_cast<std::ptrdiff_t>(first.size()));

  ASSERT_TRUE(player_.Play(short_.c_str(), SND_ASYNC));
  std::vector<std::int16_t> second = Render(mixer_, 0.5);
  // The short sound alone (never mixed with the long one), then nothing.
  EXPECT_EQ(std::count(second.begin(), second.end(), 3000), static_cast<std::ptrdiff_t>(Samples(0.2)));
  EXPECT_TRUE(winmm_test::AllZero(second, Samples(0.2), second.size()));
}

TEST_F(SimpleSoundTest, NoStopRefusesWhileASoundPlays) {
  ASSERT_TRUE(player_.Play(long_.c_str(), SND_ASYNC));
  EXPECT_FALSE(player_.Play(short_.c_str(), SND_ASYNC | SND_NOSTOP));
  std::vector<std::int16_t> audio = Render(mixer_, 0.1);
  EXPECT_EQ(audio[500], 1000);
  Render(mixer_, 2.0);
  EXPECT_TRUE(player_.Play(short_.c_str(), SND_ASYNC | SND_NOSTOP));
}

TEST_F(SimpleSoundTest, NullStopsTheSound) {
  ASSERT_TRUE(player_.Play(long_.c_str(), SND_ASYNC));
  Render(mixer_, 0.1);
  EXPECT_TRUE(player_.Play(nullptr, 0));
  EXPECT_TRUE(winmm_test::AllZero(Render(mixer_, 0.1), 0, Samples(0.1)));
}

TEST_F(SimpleSoundTest, WhatCannotBePlayedGivesTheDefaultSoundUnlessNoDefault) {
  winmm_test::WriteBytes("damaged.wav", {'R', 'I', 'F', 'F', 9, 0, 0, 0, 'W', 'A', 'V', 'E', 'f'});
  winmm_test::WriteBytes("empty.wav", {});
  winmm_test::WriteBytes("midi.wav", winmm_test::ScaleMidi(1, 0.1));
  for (const char* name : {"missing.wav", "damaged.wav", "empty.wav", "midi.wav", "."}) {
    EXPECT_TRUE(player_.Play(name, SND_ASYNC)) << name;
    std::vector<std::int16_t> tone = Render(mixer_, 0.4);
    EXPECT_GT(winmm_test::Rms(tone, 0, Samples(0.1)), 0.02) << name;
    EXPECT_TRUE(winmm_test::AllZero(tone, Samples(0.3), tone.size())) << name;

    EXPECT_FALSE(player_.Play(name, SND_ASYNC | SND_NODEFAULT)) << name;
    EXPECT_TRUE(winmm_test::AllZero(Render(mixer_, 0.2), 0, Samples(0.2))) << name;
  }
}

TEST_F(SimpleSoundTest, AFailedSoundStillStopsTheOneBefore) {
  ASSERT_TRUE(player_.Play(long_.c_str(), SND_ASYNC));
  EXPECT_FALSE(player_.Play("missing.wav", SND_ASYNC | SND_NODEFAULT));
  EXPECT_TRUE(winmm_test::AllZero(Render(mixer_, 0.1), 0, Samples(0.1)));
}

TEST_F(SimpleSoundTest, LoopRepeatsUntilStopped) {
  ASSERT_TRUE(player_.Play(short_.c_str(), SND_ASYNC | SND_LOOP));
  std::vector<std::int16_t> audio = Render(mixer_, 0.7);
  EXPECT_EQ(std::count(audio.begin(), audio.end(), 3000), static_cast<std::ptrdiff_t>(audio.size()));
  player_.Play(nullptr, 0);
  EXPECT_TRUE(winmm_test::AllZero(Render(mixer_, 0.1), 0, Samples(0.1)));
}

TEST_F(SimpleSoundTest, WithoutAnAudioDeviceNothingPlays) {
  output_available_ = false;
  EXPECT_FALSE(player_.Play(short_.c_str(), SND_ASYNC));
  EXPECT_FALSE(player_.Play("missing.wav", SND_ASYNC));
  EXPECT_TRUE(winmm_test::AllZero(Render(mixer_, 0.1), 0, Samples(0.1)));
}

}  // namespace
