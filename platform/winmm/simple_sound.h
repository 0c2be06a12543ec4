// The one-at-a-time wave player behind sndPlaySoundA.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "platform/winmm/mixer.h"
#include "platform/winmm/winmm.h"

namespace win32::winmm {

class SimpleSoundPlayer {
 public:
  // `start_output` makes sure that something plays `mixer` and says whether anything does.
  SimpleSoundPlayer(Mixer& mixer, std::function<bool()> start_output);
  ~SimpleSoundPlayer();
  SimpleSoundPlayer(const SimpleSoundPlayer&) = delete;
  SimpleSoundPlayer& operator=(const SimpleSoundPlayer&) = delete;

  // sndPlaySoundA: plays the wave file `sound` (null: stops the sound that plays).
  // A new sound cuts off the one still playing, unless SND_NOSTOP refuses instead. A file
  // that cannot be played is replaced by the default sound, unless SND_NODEFAULT.
  BOOL Play(LPCSTR sound, UINT flags);

 private:
  void StopCurrent();

  Mixer& mixer_;
  std::function<bool()> start_output_;
  std::mutex mutex_;
  std::shared_ptr<Voice> current_;  // with the mixer's lock
};

}  // namespace win32::winmm
