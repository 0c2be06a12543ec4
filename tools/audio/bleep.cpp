#include "tools/audio/bleep.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/audio/wav_writer.h"

namespace porongo::audio {

std::vector<std::int16_t> SynthesiseBleep() {
  // C6 for 45 ms, then G6 up to 115 ms: a quick rising fifth. The phase runs on across
  // the change of pitch, so the step makes no click; a little third harmonic makes the
  // tone bright without the harshness of a full square wave.
  constexpr double kLength_s = 0.115;
  constexpr double kStep_s = 0.045;
  constexpr double kLow_hz = 1046.5;
  constexpr double kHigh_hz = 1568.0;
  constexpr double kAttack_s = 0.003;
  constexpr double kRelease_s = 0.012;  // a cosine fade to silence at the very end
  constexpr double kDecayPerSecond = 9.0;
  constexpr double kPeak = 0.7;  // of full scale, about -3 dBFS

  const int frames = static_cast<int>(kLength_s * kBleepSampleRate);
  std::vector<double> wave(static_cast<std::size_t>(frames));
  double phase = 0;
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kBleepSampleRate;
    const double attack = std::min(1.0, t / kAttack_s);
    const double left = kLength_s - t;
    const double release = left >= kRelease_s ? 1.0 : 0.5 - 0.5 * std::cos(std::numbers::pi * left / kRelease_s);
    const double envelope = attack * release * std::exp(-kDecayPerSecond * t);
    wave[static_cast<std::size_t>(i)] = envelope * (std::sin(phase) + 0.25 * std::sin(3 * phase));
    phase += 2 * std::numbers::pi * (t < kStep_s ? kLow_hz : kHigh_hz) / kBleepSampleRate;
  }

  double loudest = 0;
  for (double value : wave) loudest = std::max(loudest, std::abs(value));
  std::vector<std::int16_t> samples;
  samples.reserve(wave.size());
  for (double value : wave) samples.push_back(static_cast<std::int16_t>(std::lround(value / loudest * kPeak * 32767)));
  return samples;
}

std::vector<std::uint8_t> EncodeBleepWave() { return EncodeWave(SynthesiseBleep(), 1, kBleepSampleRate); }

}  // namespace porongo::audio
