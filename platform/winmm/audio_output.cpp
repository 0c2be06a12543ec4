#include "platform/winmm/audio_output.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/common/immortal.h"
#include "platform/common/report_once.h"
#include "platform/winmm/audio_device.h"

namespace win32::winmm {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr Clock::duration kRetry = 1s;         // between two openings of the device
constexpr Clock::duration kSettled = 1s;       // a device that has played this long is back
constexpr Clock::duration kPatience = 2s;      // a device that asks for nothing this long has failed
constexpr Clock::duration kLookAgain = 250ms;  // at the open device
constexpr Clock::duration kExitPatience = 2s;  // for the thread, as the program ends

// Plays a mixer into a scratch buffer at the device's pace, while there is no device.
class SilentPlayer {
 public:
  explicit SilentPlayer(Mixer& mixer) : mixer_(mixer), block_(static_cast<std::size_t>(kBlockFrames) * kChannels) {}

  bool Running() const { return running_; }
  void Start(Clock::time_point now) {
    running_ = true;
    start_ = now;
    played_ = 0;
  }
  void Stop() { running_ = false; }

  // Plays the blocks due by `now` and says when the next one is due.
  Clock::time_point PlayUntil(Clock::time_point now) {
    const Frames due = FramesIn(now - start_);
    // Time missed altogether (the process was stopped) is skipped, not played in a burst.
    if (due - played_ > kSampleRate) played_ = due - kBlockFrames;
    while (played_ + kBlockFrames <= due) {
      mixer_.Mix(block_.data(), kBlockFrames);
      played_ += kBlockFrames;
    }
    return start_ + DurationOf(played_ + kBlockFrames);
  }

 private:
  static Frames FramesIn(Clock::duration time) {
    return std::chrono::duration_cast<std::chrono::microseconds>(time).count() * kSampleRate / 1'000'000;
  }
  // Rounded up, so that the block is due by then.
  static Clock::duration DurationOf(Frames frames) {
    return std::chrono::microseconds((frames * 1'000'000 + kSampleRate - 1) / kSampleRate);
  }

  Mixer& mixer_;
  std::vector<std::int16_t> block_;
  bool running_ = false;
  Clock::time_point start_;
  Frames played_ = 0;
};

}  // namespace

bool AudioOutput::Start() {
  std::lock_guard lock(mutex_);
  if (stopping_) return false;
  if (!thread_.joinable()) thread_ = std::thread(&AudioOutput::Run, this);
  return true;
}

void AudioOutput::Stop() {
  std::unique_lock lock(mutex_);
  if (stopping_) return;
  stopping_ = true;
  wake_.notify_all();
  if (!thread_.joinable()) return;
  // A back end that hangs (a sound server that stopped answering) must not keep the program
  // from ending.
  if (!wake_.wait_for(lock, kExitPatience, [this] { return finished_; })) {
    thread_.detach();
    return;
  }
  lock.unlock();
  thread_.join();
}

// Called on SDL's thread with SDL's watchers locked: the thread that runs Run never holds
// mutex_ while it calls SDL.
void AudioOutput::Removed() {
  {
    std::lock_guard lock(mutex_);
    removed_ = true;
  }
  wake_.notify_all();
}

void AudioOutput::Run() {
  SilentPlayer silence(mixer_);
  std::unique_ptr<AudioDevice> device;
  Clock::time_point opened;
  Clock::time_point next_try = Clock::now();
  bool silent = false;  // a line said that there is no sound, and none yet that it is back

  std::unique_lock lock(mutex_);
  while (!stopping_) {
    const bool removed = std::exchange(removed_, false);
    lock.unlock();
    const Clock::time_point now = Clock::now();
    Clock::time_point wake_at;
    if (device && !removed && !device->Lost(now, kPatience)) {
      if (silent && now - opened >= kSettled) {
        Report("the audio device is back; sound plays again");
        silent = false;
      }
      AudioDevice::DropEvents();
      wake_at = now + kLookAgain;
    } else if (device) {
      device.reset();
      if (!silent) Report("lost the audio device; sound is silent until it returns");
      silent = true;
      silence.Start(now);
      // One that had played a while is opened again at once: there may be another default
      // output by now.
      next_try = std::max(now, opened + kRetry);
      wake_at = now;
    } else if (now >= next_try) {
      std::string why;
      auto removed_by_sdl = [this] { Removed(); };
      device = AudioDevice::Open(mixer_, removed_by_sdl, why);
      if (device) {
        opened = Clock::now();
        silence.Stop();
      } else {
        if (!silent) Report("cannot open the audio device (" + why + "); sound is silent until it can be opened");
        silent = true;
        if (!silence.Running()) silence.Start(now);
        next_try = now + kRetry;
      }
      wake_at = now;
    } else {
      wake_at = std::min(silence.PlayUntil(now), next_try);
    }
    lock.lock();
    wake_.wait_until(lock, wake_at, [this] { return stopping_ || removed_; });
  }
  lock.unlock();
  device.reset();
  lock.lock();
  finished_ = true;
  wake_.notify_all();
}

Mixer& SharedMixer() {
  static Immortal<Mixer> mixer;
  return *mixer;
}

namespace {

AudioOutput& SharedOutput() {
  static Immortal<AudioOutput> output(SharedMixer());
  return *output;
}

// The audio thread is stopped before the rest of the process is torn down, so that it never
// mixes while libraries and static objects are going away.
void StopAtExit() { SharedOutput().Stop(); }

}  // namespace

bool StartAudioOutput() {
  static std::once_flag at_exit;
  std::call_once(at_exit, [] { std::atexit(&StopAtExit); });
  return SharedOutput().Start();
}

}  // namespace win32::winmm
