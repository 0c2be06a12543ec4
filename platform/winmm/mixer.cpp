#include "platform/winmm/mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <utility>

namespace win32::winmm {

void Mixer::Add(std::shared_ptr<Voice> voice) {
  if (std::find(voices_.begin(), voices_.end(), voice) == voices_.end()) voices_.push_back(std::move(voice));
}

void Mixer::Remove(const std::shared_ptr<Voice>& voice) {
  voice->Halt();
  std::erase(voices_, voice);
  stopped_.notify_all();
}

void Mixer::Mix(std::int16_t* out, int frames) {
  std::vector<Notice> ended;
  bool anything_ended = false;
  {
    std::lock_guard lock(mutex_);
    const std::size_t count = static_cast<std::size_t>(frames) * kChannels;
    if (mix_.size() < count) {
      mix_.resize(count);
      scratch_.resize(count);
    }
    std::fill_n(mix_.begin(), count, 0.0f);
    for (const auto& voice : voices_) {
      if (!voice->Sounding() || !voice->MixInto(mix_.data(), scratch_.data(), frames)) continue;
      anything_ended = true;
      if (voice->notice) ended.push_back(*std::exchange(voice->notice, std::nullopt));
    }
    for (std::size_t i = 0; i < count; ++i) {
      long sample = std::lrint(mix_[i] * 32768.0f);
      out[i] = static_cast<std::int16_t>(std::clamp(sample, -32768L, 32767L));
    }
  }
  if (anything_ended) stopped_.notify_all();
  for (const Notice& notice : ended) notice.Post(MCI_NOTIFY_SUCCESSFUL);
}

void Mixer::WaitUntilStopped(std::unique_lock<std::mutex>& lock, const Voice& voice) {
  // Voices halted by other threads do not signal; the short timeout notices them too.
  while (voice.Playing()) stopped_.wait_for(lock, std::chrono::milliseconds(10));
}

}  // namespace win32::winmm
