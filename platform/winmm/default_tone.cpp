#include "platform/winmm/default_tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace win32::winmm {

std::unique_ptr<PcmSource> MakeDefaultTone() {
  // A fifth down, A5 then D5, each note fading on its own; the whole lasts 180 ms.
  struct Note {
    double start_s, frequency_hz;
  };
  constexpr Note kNotes[] = {{0.0, 880.0}, {0.06, 587.33}};
  constexpr double kLength_s = 0.18;
  constexpr double kAttack_s = 0.004;
  constexpr double kDecayPerSecond = 28.0;
  constexpr double kLevel = 0.3;

  const int frames = static_cast<int>(kLength_s * kSampleRate);
  std::vector<float> samples(static_cast<std::size_t>(frames) * kChannels);
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    // The last 10 ms fade to silence so that the end does not click.
    const double tail = std::min(1.0, (kLength_s - t) / 0.01);
    double value = 0;
    for (const Note& note : kNotes) {
      const double local = t - note.start_s;
      if (local < 0) continue;
      const double envelope = std::min(1.0, local / kAttack_s) * std::exp(-kDecayPerSecond * local);
      value += envelope * std::sin(2 * std::numbers::pi * note.frequency_hz * local);
    }
    const auto sample = static_cast<float>(kLevel * tail * value);
    samples[static_cast<std::size_t>(i) * 2] = sample;
    samples[static_cast<std::size_t>(i) * 2 + 1] = sample;
  }
  return std::make_unique<PcmSource>(std::move(samples));
}

}  // namespace win32::winmm
