// sndPlaySoundA on the shared audio device.
#include "platform/common/immortal.h"
#include "platform/win32.h"
#include "platform/winmm/audio_output.h"
#include "platform/winmm/simple_sound.h"

BOOL WINAPI sndPlaySoundA(LPCSTR pszSound, UINT fuSound) {
  static win32::Immortal<win32::winmm::SimpleSoundPlayer> player(win32::winmm::SharedMixer(),
                                                                 &win32::winmm::StartAudioOutput);
  return player->Play(pszSound, fuSound);
}
