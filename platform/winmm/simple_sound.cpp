#include "platform/winmm/simple_sound.h"

#include <string>
#include <vector>

#include "platform/common/report_once.h"
#include "platform/winmm/default_tone.h"
#include "platform/winmm/sound_file.h"
#include "platform/winmm/wave_file.h"

namespace win32::winmm {
namespace {

std::unique_ptr<PcmSource> LoadWave(std::string_view name, std::string& why) {
  std::vector<std::uint8_t> bytes;
  const ReadResult read = ReadSoundFile(name, kLargestWaveFile, bytes);
  if (read == ReadResult::Ok) return DecodeWave(bytes, why);
  why = ReadProblem(read);
  return nullptr;
}

}  // namespace

SimpleSoundPlayer::SimpleSoundPlayer(Mixer& mixer, std::function<bool()> start_output)
    : mixer_(mixer), start_output_(std::move(start_output)) {}

SimpleSoundPlayer::~SimpleSoundPlayer() { StopCurrent(); }

void SimpleSoundPlayer::StopCurrent() {
  auto mixer_lock = mixer_.Lock();
  if (current_) mixer_.Remove(current_);
  current_.reset();
}

BOOL SimpleSoundPlayer::Play(LPCSTR sound, UINT flags) {
  std::shared_ptr<Voice> voice;
  {
    std::lock_guard lock(mutex_);
    if (flags & SND_NOSTOP) {
      auto mixer_lock = mixer_.Lock();
      if (current_ && current_->Playing()) return FALSE;
    }
    StopCurrent();
    if (!sound) return TRUE;
    if (flags & SND_MEMORY) {
      ReportOnce("sounds held in memory are not supported");
      return FALSE;
    }

    std::string why;
    std::unique_ptr<SoundSource> source = LoadWave(sound, why);
    if (!source) {
      const std::string problem = "cannot play " + DisplayName(sound) + ": " + why;
      if (flags & SND_NODEFAULT) {
        ReportOnce(problem);
        return FALSE;
      }
      ReportOnce(problem + "; the default sound plays instead");
      source = MakeDefaultTone();
    }
    if (!start_output_()) return FALSE;

    voice = std::make_shared<Voice>(std::move(source));
    auto mixer_lock = mixer_.Lock();
    current_ = voice;
    mixer_.Add(voice);
    // Looping only makes sense for a sound that does not hold the caller until it ends.
    voice->Play(voice->Length(), (flags & SND_LOOP) && (flags & SND_ASYNC));
  }
  if (!(flags & SND_ASYNC)) {
    // Waits without holding the player, so that another thread's sound can cut this one.
    auto mixer_lock = mixer_.Lock();
    mixer_.WaitUntilStopped(mixer_lock, *voice);
  }
  return TRUE;
}

}  // namespace win32::winmm
