// One opening of the default audio device: SDL's audio subsystem, started for this opening
// alone so that SDL chooses its driver afresh each time (a sound server may have come or
// gone since the last), and an SDL_mixer device that plays a Mixer through its music hook.
// SDL_AUDIODRIVER chooses the driver (tests use "dummy", or "disk" to get the output as a
// file). No device is named: SDL opens the default output, and a sound server moves the
// stream along when the default output changes.
#pragma once

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "platform/common/sdl_subsystem.h"
#include "platform/winmm/mixer.h"

namespace win32::winmm {

// The frames the device asks for at a time: 1024 (23 ms) keep a pickup sound close to the
// moment it was asked for.
constexpr int kBlockFrames = 1024;

class AudioDevice {
  struct Started {};  // only Open() makes one, once SDL's audio runs

 public:
  using Clock = std::chrono::steady_clock;

  // Null when the device cannot be opened; `why` then says why. `removed` is called, on one
  // of SDL's threads, when SDL says that the device went away. SDL_mixer has one device for
  // the process: one AudioDevice at a time.
  static std::unique_ptr<AudioDevice> Open(Mixer& mixer, std::function<void()> removed, std::string& why);
  AudioDevice(Started, Mixer& mixer, std::function<void()> removed, std::unique_ptr<SdlSubsystem> sdl);
  // Stops the audio thread and closes the device.
  ~AudioDevice();
  AudioDevice(const AudioDevice&) = delete;
  AudioDevice& operator=(const AudioDevice&) = delete;

  // Whether SDL said the device went away, or the device has not asked for sound since
  // `patience` before `now`: its back end has failed either way.
  bool Lost(Clock::time_point now, Clock::duration patience) const;

  // Drops SDL's device events from its queue: nobody reads them there, and an event arrives
  // for every device SDL finds each time it starts.
  static void DropEvents();

 private:
  static void SDLCALL Play(void* device, Uint8* stream, int bytes);
  static int SDLCALL Watch(void* device, SDL_Event* event);

  Mixer& mixer_;
  std::function<void()> removed_;
  std::unique_ptr<SdlSubsystem> sdl_;
  std::atomic<bool> gone_{false};
  std::atomic<Clock::rep> last_asked_{0};  // Clock ticks
};

}  // namespace win32::winmm
