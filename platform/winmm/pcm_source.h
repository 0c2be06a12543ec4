// A sound held in memory as frames of the mixing format.
#pragma once

#include <vector>

#include "platform/winmm/sound_source.h"

namespace win32::winmm {

class PcmSource : public SoundSource {
 public:
  // `samples` is interleaved stereo; a trailing half frame is dropped.
  explicit PcmSource(std::vector<float> samples);

  Frames Length() const override;
  void Seek(Frames frame) override;
  void Render(float* out, int frames) override;

 private:
  std::vector<float> samples_;
  Frames cursor_ = 0;
};

}  // namespace win32::winmm
