// A sound source together with its playback state: where it is, whether it plays and up
// to where. Voices are mixed by a Mixer; every member must be used with the mixer's lock
// held, because the audio thread advances playing voices.
#pragma once

#include <memory>
#include <optional>

#include "platform/winmm/notice.h"
#include "platform/winmm/sound_source.h"

namespace win32::winmm {

class Voice {
 public:
  explicit Voice(std::unique_ptr<SoundSource> source);

  Frames Length() const { return source_->Length(); }
  Frames Position() const { return position_; }
  Frames End() const { return end_; }
  bool Playing() const { return playing_; }
  // Playing, or fading out what rings on after it stopped.
  bool Sounding() const { return playing_ || tail_left_ > 0; }

  // Plays from the current position up to `end` (at most Length()); with `loop` it starts
  // again from the beginning each time it gets to the end, and never ends by itself.
  void Play(Frames end, bool loop = false);
  // Stops where it is; a later Play continues from here.
  void Halt();
  // Stops and moves to `frame`.
  void MoveTo(Frames frame);

  // Adds the next `frames` frames of a sounding voice to `mix`, using `scratch` (as large
  // as `mix`) to render into. Returns true when the voice got to its end and stopped.
  bool MixInto(float* mix, float* scratch, int frames);

  // Posted with MCI_NOTIFY_SUCCESSFUL when the voice plays to its end.
  std::optional<Notice> notice;

 private:
  std::unique_ptr<SoundSource> source_;
  Frames position_ = 0;
  Frames end_ = 0;
  bool playing_ = false;
  bool loop_ = false;
  Frames tail_left_ = 0;

  void Stopped();
  void MixTail(float* mix, float* scratch, int frames);
};

}  // namespace win32::winmm
