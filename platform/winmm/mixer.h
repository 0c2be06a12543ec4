// Mixes the voices that are playing into blocks of the device's format. The audio thread
// calls Mix; everyone else changes voices under Lock(). Notices of voices that play to
// their end are posted by Mix after it has let go of the lock.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/winmm/voice.h"

namespace win32::winmm {

class Mixer {
 public:
  std::unique_lock<std::mutex> Lock() { return std::unique_lock(mutex_); }

  // With the lock held.
  void Add(std::shared_ptr<Voice> voice);
  void Remove(const std::shared_ptr<Voice>& voice);

  // Renders `frames` interleaved stereo frames of all playing voices into `out`.
  void Mix(std::int16_t* out, int frames);

  // Waits, with `lock` held on entry and exit, until `voice` no longer plays.
  void WaitUntilStopped(std::unique_lock<std::mutex>& lock, const Voice& voice);

 private:
  std::mutex mutex_;
  std::condition_variable stopped_;
  std::vector<std::shared_ptr<Voice>> voices_;
  std::vector<float> mix_;
  std::vector<float> scratch_;
};

}  // namespace win32::winmm
