#include "platform/winmm/voice.h"

#include <algorithm>

namespace win32::winmm {

Voice::Voice(std::unique_ptr<SoundSource> source) : source_(std::move(source)) {}

void Voice::Play(Frames end, bool loop) {
  end_ = std::clamp<Frames>(end, position_, Length());
  loop_ = loop && Length() > 0;
  playing_ = true;
  tail_left_ = 0;
}

void Voice::Halt() {
  if (playing_) Stopped();
}

void Voice::Stopped() {
  playing_ = false;
  source_->Interrupt();
  tail_left_ = source_->TailLength();
  if (tail_left_ == 0) source_->Silence();
}

void Voice::MixTail(float* mix, float* scratch, int frames) {
  const int n = static_cast<int>(std::min<Frames>(frames, tail_left_));
  source_->RenderTail(scratch, n);
  // A straight fade from the level at the stop to nothing at the end of the tail.
  const double length = static_cast<double>(source_->TailLength());
  for (int i = 0; i < n; ++i) {
    const auto gain = static_cast<float>((tail_left_ - i) / length);
    mix[i * kChannels] += scratch[i * kChannels] * gain;
    mix[i * kChannels + 1] += scratch[i * kChannels + 1] * gain;
  }
  tail_left_ -= n;
  if (tail_left_ == 0) source_->Silence();
}

void Voice::MoveTo(Frames frame) {
  Halt();
  position_ = std::clamp<Frames>(frame, 0, Length());
  source_->Seek(position_);
}

bool Voice::MixInto(float* mix, float* scratch, int frames) {
  if (!playing_) {
    if (tail_left_ > 0) MixTail(mix, scratch, frames);
    return false;
  }
  int done = 0;
  while (playing_ && done < frames) {
    if (position_ >= end_) {
      if (!loop_) break;
      position_ = 0;
      source_->Seek(0);
      end_ = Length();
    }
    int n = static_cast<int>(std::min<Frames>(frames - done, end_ - position_));
    source_->Render(scratch, n);
    float* target = mix + static_cast<std::ptrdiff_t>(done) * kChannels;
    for (int i = 0; i < n * kChannels; ++i) target[i] += scratch[i];
    done += n;
    position_ += n;
  }
  // A play that ends exactly at the end of this block is reported now, not a block later.
  if (playing_ && !loop_ && position_ >= end_) {
    Stopped();
    // What rings on past the end is heard in the next block.
    return true;
  }
  return false;
}

}  // namespace win32::winmm
