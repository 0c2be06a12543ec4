// mciSendStringA: the process's MCI session, playing on the shared audio device and
// posting MM_MCINOTIFY to the windows that commands name.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/common/immortal.h"
#include "platform/win32.h"
#include "platform/winmm/audio_output.h"
#include "platform/winmm/mci_session.h"
#include "platform/winmm/sound_font.h"

namespace {

using namespace win32::winmm;

MciSession& TheSession() {
  static win32::Immortal<MciSession> session(
      SharedMixer(), &StartAudioOutput, SoundFontCandidates(std::getenv("SDL_SOUNDFONTS")),
      [](HWND window, WPARAM code, LPARAM device) { PostMessageA(window, MM_MCINOTIFY, code, device); });
  return *session;
}

}  // namespace

MCIERROR WINAPI mciSendStringA(LPCSTR lpstrCommand, LPSTR lpstrReturnString, UINT uReturnLength, HWND hwndCallback) {
  if (!lpstrCommand) return MCIERR_MISSING_COMMAND_STRING;
  std::string reply;
  MCIERROR error = TheSession().Send(lpstrCommand, reply, hwndCallback);
  if (lpstrReturnString && uReturnLength > 0) {
    if (reply.size() < uReturnLength) {
      std::memcpy(lpstrReturnString, reply.c_str(), reply.size() + 1);
    } else {
      lpstrReturnString[0] = '\0';
      if (!error) error = MCIERR_PARAM_OVERFLOW;
    }
  }
  return error;
}
