#include "tests/platform/winmm/test_sounds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

#include "tools/audio/smf_writer.h"
#include "tools/audio/wav_writer.h"

namespace winmm_test {
namespace {

constexpr int kScaleKeys[] = {72, 74, 76, 77, 79, 81, 83};  // C5 D5 E5 F5 G5 A5 B5

// Power of one frequency in a stretch of the left channel (the Goertzel algorithm).
double Power(const std::vector<std::int16_t>& audio, std::size_t first, std::size_t frames, double hz) {
  const double w = 2 * std::numbers::pi * hz / 44100;
  const double coefficient = 2 * std::cos(w);
  double s1 = 0, s2 = 0;
  for (std::size_t i = 0; i < frames && (first + i) * 2 < audio.size(); ++i) {
    const double s = audio[(first + i) * 2] + coefficient * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  return s1 * s1 + s2 * s2 - coefficient * s1 * s2;
}

}  // namespace

std::vector<std::uint8_t> ConstantWave(std::int16_t value, double seconds, int channels, int rate) {
  std::vector<std::int16_t> samples(static_cast<std::size_t>(seconds * rate) * static_cast<std::size_t>(channels),
                                    value);
  return porongo::audio::EncodeWave(samples, channels, rate);
}

std::vector<std::uint8_t> ScaleMidi(int segments, double segment_seconds) {
  // 480 ticks a quarter at 120 beats a minute: 960 ticks a second.
  const auto ticks = static_cast<std::uint32_t>(segment_seconds * 960);
  porongo::audio::MidiTrack track;
  track.Tempo(0, 500000);
  track.ProgramChange(0, 0, 73);
  for (int i = 0; i < segments; ++i) {
    track.NoteOn(static_cast<std::uint32_t>(i) * ticks, 0, kScaleKeys[i], 110);
    track.NoteOff(static_cast<std::uint32_t>(i) * ticks + ticks * 9 / 10, 0, kScaleKeys[i]);
  }
  track.End(static_cast<std::uint32_t>(segments) * ticks);
  return porongo::audio::EncodeMidiFile(480, {track});
}

double ScalePitch(int index) { return 440.0 * std::pow(2.0, (kScaleKeys[index] - 69) / 12.0); }

int LoudestScaleNote(const std::vector<std::int16_t>& audio, std::size_t first, std::size_t frames, int segments) {
  int loudest = -1;
  double best = 0;
  for (int i = 0; i < segments; ++i) {
    double power = Power(audio, first, frames, ScalePitch(i));
    if (power > best) {
      best = power;
      loudest = i;
    }
  }
  return loudest;
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string TestFile(const char* suffix) {
  return std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + suffix;
}

std::vector<std::int16_t> Render(win32::winmm::Mixer& mixer, double seconds) {
  const auto frames = static_cast<std::size_t>(seconds * 44100);
  std::vector<std::int16_t> audio(frames * 2);
  for (std::size_t done = 0; done < frames;) {
    const int block = static_cast<int>(std::min<std::size_t>(1024, frames - done));
    mixer.Mix(audio.data() + done * 2, block);
    done += static_cast<std::size_t>(block);
  }
  return audio;
}

double Rms(const std::vector<std::int16_t>& audio, std::size_t first, std::size_t count) {
  const std::size_t end = std::min(audio.size(), first + count);
  if (end <= first) return 0;
  double sum = 0;
  for (std::size_t i = first; i < end; ++i) sum += static_cast<double>(audio[i]) * audio[i];
  return std::sqrt(sum / static_cast<double>(end - first)) / 32768;
}

bool AllZero(const std::vector<std::int16_t>& audio, std::size_t first, std::size_t count) {
  const std::size_t end = std::min(audio.size(), first + count);
  return std::all_of(audio.begin() + static_cast<std::ptrdiff_t>(std::min(first, end)),
                     audio.begin() + static_cast<std::ptrdiff_t>(end), [](std::int16_t s) { return s == 0; });
}

}  // namespace winmm_test
