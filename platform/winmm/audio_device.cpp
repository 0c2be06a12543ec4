#include "platform/winmm/audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <cstdlib>
#include <mutex>
#include <string>

#include "platform/common/immortal.h"
#include "platform/common/report_once.h"

namespace win32::winmm {
namespace {

// 1024 frames (23 ms) keep a pickup sound close to the moment it was asked for.
constexpr int kBlockFrames = 1024;

struct Device {
  std::mutex mutex;
  bool tried = false;
  bool open = false;
};

Device& TheDevice() {
  static Immortal<Device> device;
  return *device;
}

void SDLCALL PlayMixer(void* mixer, Uint8* stream, int bytes) {
  static_cast<Mixer*>(mixer)->Mix(reinterpret_cast<std::int16_t*>(stream),
                                  bytes / static_cast<int>(kChannels * sizeof(std::int16_t)));
}

// ALSA writes every step of a failed search for a sound card to stderr itself ("ALSA lib
// confmisc.c:855:(parse_card) cannot find card '0'" and seven more lines) before SDL gives
// up on it, and an underrun later on would add more; the program's own line says what a
// player needs to know.
void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// The audio thread is stopped before the rest of the process is torn down, so that it
// never mixes while libraries and static objects are going away.
void CloseAtExit() {
  Device& device = TheDevice();
  std::lock_guard lock(device.mutex);
  if (!device.open) return;
  Mix_HookMusic(nullptr, nullptr);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  device.open = false;
}

}  // namespace

Mixer& SharedMixer() {
  static Immortal<Mixer> mixer;
  return *mixer;
}

bool OpenAudioDevice() {
  Device& device = TheDevice();
  std::lock_guard lock(device.mutex);
  if (device.tried) return device.open;
  device.tried = true;

  // SDL would otherwise catch SIGINT and SIGTERM to turn them into its own quit event,
  // which nobody reads here: the program could then no longer be stopped by a signal.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  snd_lib_error_set_handler(&IgnoreAlsaMessage);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    ReportOnce(std::string("no audio device (") + SDL_GetError() + "); sound is silent");
    return false;
  }
  // No changes allowed: SDL converts to the device's real format, and the mixer always
  // works in one format.
  if (Mix_OpenAudioDevice(kSampleRate, AUDIO_S16SYS, kChannels, kBlockFrames, nullptr, 0) != 0) {
    ReportOnce(std::string("cannot open the audio device (") + Mix_GetError() + "); sound is silent");
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(0);
  Mix_HookMusic(&PlayMixer, &SharedMixer());
  device.open = true;
  std::atexit(&CloseAtExit);
  return true;
}

}  // namespace win32::winmm
