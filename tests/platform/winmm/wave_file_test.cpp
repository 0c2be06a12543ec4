#include "platform/winmm/wave_file.h"

#include <gtest/gtest.h>

#include "tests/platform/winmm/test_sounds.h"
#include "tools/audio/wav_writer.h"

namespace {

using win32::winmm::DecodeWave;

std::vector<float> Frames(win32::winmm::PcmSource& source) {
  std::vector<float> out(static_cast<std::size_t>(source.Length()) * 2);
  source.Render(out.data(), static_cast<int>(source.Length()));
  return out;
}

TEST(WaveFile, SixteenBitStereoAtTheMixingRateIsTakenAsItIs) {
  std::string why;
  auto source = DecodeWave(porongo::audio::EncodeWave({1000, -2000, 32767, -32768}, 2, 44100), why);
  ASSERT_TRUE(source) << why;
  ASSERT_EQ(source->Length(), 2);
  EXPECT_EQ(Frames(*source), (std::vector<float>{1000 / 32768.0f, -2000 / 32768.0f, 32767 / 32768.0f, -1.0f}));
}

TEST(WaveFile, OtherRatesAndMonoAreConverted) {
  std::string why;
  // 0.5 s of mono at 22050 Hz: 0.5 s of stereo at 44100 Hz, the value in both channels.
  auto source = DecodeWave(winmm_test::ConstantWave(8192, 0.5, 1, 22050), why);
  ASSERT_TRUE(source) << why;
  EXPECT_NEAR(static_cast<double>(source->Length()), 22050, 64);
  std::vector<float> frames = Frames(*source);
  const std::size_t middle = frames.size() / 2 & ~std::size_t{1};
  EXPECT_NEAR(frames[middle], 0.25f, 0.01f);
  EXPECT_FLOAT_EQ(frames[middle], frames[middle + 1]);
}

TEST(WaveFile, RefusesWhatIsNotAWave) {
  std::vector<std::uint8_t> good = winmm_test::ConstantWave(100, 0.01);
  std::vector<std::uint8_t> bad_format = good;
  bad_format[20] = 0x55;  // format tag: not one that exists
  std::vector<std::uint8_t> no_fmt = good;
  no_fmt[12] = 'x';
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"midi", winmm_test::ScaleMidi(1, 0.1)},
      {"header only", std::vector<std::uint8_t>(good.begin(), good.begin() + 12)},
      {"unknown format", bad_format},
      {"no format chunk", no_fmt},
  };
  for (const Case& c : cases) {
    std::string why;
    EXPECT_FALSE(DecodeWave(c.bytes, why)) << c.what;
    EXPECT_FALSE(why.empty()) << c.what;
  }
}

TEST(WaveFile, TruncatedFilesNeverCrash) {
  const std::vector<std::uint8_t> good = winmm_test::ConstantWave(100, 0.01);
  for (std::size_t size = 0; size < good.size(); size += 7) {
    std::string why;
    auto source = DecodeWave(std::span(good.data(), size), why);
    // Whatever of the samples is there may be played; never more than there is.
    if (source) {
      EXPECT_LE(source->Length(), 441);
    }
  }
}

}  // namespace
