// sndPlaySoundA as the program calls it, on SDL's disk driver; and the MCI error texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "platform/win32.h"
#include "tests/platform/winmm/disk_output.h"
#include "tests/platform/winmm/test_sounds.h"

namespace {

using namespace std::chrono_literals;
using namespace winmm_test;

const auto* const kDiskOutput = ::testing::AddGlobalTestEnvironment(new DiskOutputEnvironment);

TEST(SoundApi, TheSecondSoundCutsOffTheFirst) {
  const std::string first = TestFile("_first.wav"), second = TestFile("_second.wav");
  WriteBytes(first, ConstantWave(1000, 2.0));
  WriteBytes(second, ConstantWave(3000, 0.3));
  const std::size_t start = WrittenSamples();
  ASSERT_TRUE(sndPlaySoundA(first.c_str(), SND_ASYNC));
  WaitForOutput(start, Samples(0.3));
  ASSERT_TRUE(sndPlaySoundA(second.c_str(), SND_ASYNC));
  WaitForOutput(start, Samples(1.5));

  std::vector<std::int16_t> output = ReadOutput();
  output.erase(output.begin(), output.begin() + static_cast<std::ptrdiff_t>(start));
  const auto cut = std::find(output.begin(), output.end(), 3000);
  ASSERT_NE(cut, output.end());
  EXPECT_NE(std::find(output.begin(), cut, 1000), cut) << "the first sound never played";
  // From the cut on: the second sound alone, whole, then silence.
  const auto second_end = cut + static_cast<std::ptrdiff_t>(Samples(0.3));
  EXPECT_TRUE(std::all_of(cut, second_end, [](std::int16_t s) { return s == 3000; }));
  EXPECT_TRUE(std::all_of(second_end, output.end(), [](std::int16_t s) { return s == 0; }));
}

TEST(SoundApi, AMissingSoundPlaysTheDefaultToneUnlessNoDefault) {
  std::size_t start = WrittenSamples();
  EXPECT_TRUE(sndPlaySoundA("no such sound.wav", SND_ASYNC));
  WaitForOutput(start, Samples(0.5));
  EXPECT_GT(Rms(ReadOutput(), start, Samples(0.5)), 0.01);

  start = WrittenSamples();
  EXPECT_FALSE(sndPlaySoundA("no such sound.wav", SND_ASYNC | SND_NODEFAULT));
  WaitForOutput(start, Samples(0.4));
  EXPECT_TRUE(AllZero(ReadOutput(), start, Samples(0.4)));
}

TEST(SoundApi, SyncWaitsUntilTheSoundHasPlayed) {
  const std::string wave = TestFile(".wav");
  WriteBytes(wave, ConstantWave(3000, 0.3));
  const auto before = std::chrono::steady_clock::now();
  EXPECT_TRUE(sndPlaySoundA(wave.c_str(), SND_SYNC));
  EXPECT_GE(std::chrono::steady_clock::now() - before, 250ms);
  // Nothing is left to stop: a sound with SND_NOSTOP is taken at once.
  EXPECT_TRUE(sndPlaySoundA(wave.c_str(), SND_ASYNC | SND_NOSTOP));
}

TEST(MciErrorText, AreEnglishSentences) {
  char text[128];
  EXPECT_TRUE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, text, sizeof text));
  EXPECT_STREQ(text, "The file could not be found.");
  for (MCIERROR error = MCIERR_BASE + 1; error <= MCIERR_BASE + 93; ++error) {
    if (mciGetErrorStringA(error, text, sizeof text)) {
      EXPECT_GT(std::strlen(text), 10u) << error;
    }
  }
  EXPECT_FALSE(mciGetErrorStringA(MCIERR_BASE + 27, text, sizeof text));
  EXPECT_STREQ(text, "");
  char small[9];
  EXPECT_TRUE(mciGetErrorStringA(MCIERR_FILE_NOT_FOUND, small, sizeof small));
  EXPECT_STREQ(small, "The file");
}

}  // namespace
