// Something that can be played: a decoded wave, the default tone, a MIDI sequence.
#pragma once

#include <algorithm>

#include "platform/winmm/audio_format.h"

namespace win32::winmm {

class SoundSource {
 public:
  virtual ~SoundSource() = default;

  virtual Frames Length() const = 0;
  // Moves to `frame` (0 <= frame <= Length()); the next Render starts there.
  virtual void Seek(Frames frame) = 0;
  // Writes the next `frames` frames, interleaved stereo, into `out`, and advances.
  virtual void Render(float* out, int frames) = 0;

  // Playback stopped here (it may continue from here later). A source whose notes ring on
  // for a moment, like a synthesiser's, lets them go into their release now.
  virtual void Interrupt() {}
  // How long the mixer renders what rings on after an interrupt (fading it out over that
  // time), before it calls Silence().
  virtual Frames TailLength() const { return 0; }
  // Renders what rings on after an interrupt, without moving on.
  virtual void RenderTail(float* out, int frames);
  // Ends everything that still sounds.
  virtual void Silence() {}
};

inline void SoundSource::RenderTail(float* out, int frames) { std::fill_n(out, frames * kChannels, 0.0f); }

}  // namespace win32::winmm
