#include "platform/winmm/wave_file.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace win32::winmm {
namespace {

// Longer sounds are refused rather than decoded into hundreds of megabytes.
constexpr Uint32 kLongestWaveSeconds = 300;

using WaveBuffer = std::unique_ptr<Uint8, void (*)(Uint8*)>;

}  // namespace

std::unique_ptr<PcmSource> DecodeWave(std::span<const std::uint8_t> bytes, std::string& why) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    why = "not a wave file";
    return nullptr;
  }
  SDL_AudioSpec format{};
  Uint8* raw = nullptr;
  Uint32 raw_length = 0;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
  if (!rw || !SDL_LoadWAV_RW(rw, 1, &format, &raw, &raw_length)) {
    why = std::string("damaged wave file (") + SDL_GetError() + ")";
    return nullptr;
  }
  WaveBuffer pcm(raw, &SDL_FreeWAV);

  SDL_AudioCVT cvt;
  const int built = SDL_BuildAudioCVT(&cvt, format.format, format.channels, static_cast<int>(format.freq), AUDIO_F32SYS,
                                      kChannels, kSampleRate);
  if (built < 0) {
    why = std::string("cannot convert the wave file (") + SDL_GetError() + ")";
    return nullptr;
  }
  const Uint32 frame_bytes = SDL_AUDIO_BITSIZE(format.format) / 8 * format.channels;
  const Uint32 whole_frames = raw_length / frame_bytes;
  if (whole_frames / static_cast<Uint32>(format.freq) > kLongestWaveSeconds) {
    why = "the sound is too long";
    return nullptr;
  }
  // Converted in one go: SDL's streaming converter drops the last few hundred frames when
  // it resamples.
  const int length = static_cast<int>(whole_frames * frame_bytes);
  std::vector<Uint8> buffer(static_cast<std::size_t>(length) * static_cast<std::size_t>(cvt.len_mult));
  std::memcpy(buffer.data(), pcm.get(), static_cast<std::size_t>(length));
  int converted = length;
  if (built == 1) {
    cvt.buf = buffer.data();
    cvt.len = length;
    if (SDL_ConvertAudio(&cvt) != 0) {
      why = std::string("cannot convert the wave file (") + SDL_GetError() + ")";
      return nullptr;
    }
    converted = cvt.len_cvt;
  }
  std::vector<float> samples(static_cast<std::size_t>(converted) / sizeof(float));
  std::memcpy(samples.data(), buffer.data(), samples.size() * sizeof(float));
  return std::make_unique<PcmSource>(std::move(samples));
}

}  // namespace win32::winmm
