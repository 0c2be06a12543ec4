#include "platform/winmm/pcm_source.h"

#include <algorithm>

namespace win32::winmm {

PcmSource::PcmSource(std::vector<float> samples) : samples_(std::move(samples)) {
  samples_.resize(samples_.size() / kChannels * kChannels);
}

Frames PcmSource::Length() const { return static_cast<Frames>(samples_.size() / kChannels); }

void PcmSource::Seek(Frames frame) { cursor_ = std::clamp<Frames>(frame, 0, Length()); }

void PcmSource::Render(float* out, int frames) {
  Frames available = std::min<Frames>(frames, Length() - cursor_);
  auto first = samples_.begin() + cursor_ * kChannels;
  std::copy(first, first + available * kChannels, out);
  std::fill(out + available * kChannels, out + static_cast<Frames>(frames) * kChannels, 0.0f);
  cursor_ += available;
}

}  // namespace win32::winmm
