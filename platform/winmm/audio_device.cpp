#include "platform/winmm/audio_device.h"

#include <SDL_mixer.h>
#include <alsa/asoundlib.h>

#include <utility>

namespace win32::winmm {
namespace {

// ALSA writes every step of a failed search for a sound card to stderr itself ("ALSA lib
// confmisc.c:855:(parse_card) cannot find card '0'" and seven more lines) before SDL gives
// up on it, and an underrun later on would add more; the program's own line says what a
// player needs to know.
void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::unique_ptr<AudioDevice> AudioDevice::Open(Mixer& mixer, std::function<void()> removed, std::string& why) {
  snd_lib_error_set_handler(&IgnoreAlsaMessage);
  auto sdl = SdlSubsystem::Start(SDL_INIT_AUDIO, why);
  if (!sdl) return nullptr;
  // Watching from before the device opens, so that no removal goes unseen.
  auto device = std::make_unique<AudioDevice>(Started{}, mixer, std::move(removed), std::move(sdl));
  // No changes allowed: SDL converts to the device's real format, and the mixer always
  // works in one format. No name either: the default output, wherever it is.
  if (Mix_OpenAudioDevice(kSampleRate, AUDIO_S16SYS, kChannels, kBlockFrames, nullptr, 0) != 0) {
    why = Mix_GetError();
    return nullptr;
  }
  device->last_asked_ = Clock::now().time_since_epoch().count();
  Mix_AllocateChannels(0);
  Mix_HookMusic(&Play, device.get());
  return device;
}

AudioDevice::AudioDevice(Started, Mixer& mixer, std::function<void()> removed, std::unique_ptr<SdlSubsystem> sdl)
    : mixer_(mixer), removed_(std::move(removed)), sdl_(std::move(sdl)) {
  DropEvents();
  SDL_AddEventWatch(&Watch, this);
}

// Both calls are harmless when SDL_mixer's device did not open.
AudioDevice::~AudioDevice() {
  SDL_DelEventWatch(&Watch, this);
  Mix_HookMusic(nullptr, nullptr);
  Mix_CloseAudio();
  DropEvents();
}

bool AudioDevice::Lost(Clock::time_point now, Clock::duration patience) const {
  return gone_ || now - Clock::time_point(Clock::duration(last_asked_.load())) > patience;
}

void AudioDevice::DropEvents() { SDL_FlushEvents(SDL_AUDIODEVICEADDED, SDL_AUDIODEVICEREMOVED); }

void SDLCALL AudioDevice::Play(void* device, Uint8* stream, int bytes) {
  auto* self = static_cast<AudioDevice*>(device);
  self->last_asked_ = Clock::now().time_since_epoch().count();
  self->mixer_.Mix(reinterpret_cast<std::int16_t*>(stream), bytes / static_cast<int>(kChannels * sizeof(std::int16_t)));
}

// The process opens one output device, so a removed output is this one. SDL calls this on
// the thread that sent the event, with its list of watchers locked.
int SDLCALL AudioDevice::Watch(void* device, SDL_Event* event) {
  auto* self = static_cast<AudioDevice*>(device);
  if (event->type == SDL_AUDIODEVICEREMOVED && !event->adevice.iscapture && !self->gone_.exchange(true))
    self->removed_();
  return 0;
}

}  // namespace win32::winmm
