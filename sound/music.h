// The background music, played by MCI under the alias "bgm". Every command goes to the
// platform exactly as written here; results are not examined, so a missing bgm.mid or
// sound device leaves the game silent and otherwise unchanged.
#pragma once

#include "platform/win32.h"

// "open bgm.mid alias bgm"
void MusicOpen();
// "play bgm NOTIFY": plays from the current position; MM_MCINOTIFY reaches `notifyWindow`
// when this play ends, is stopped or is replaced.
void MusicPlay(HWND notifyWindow);
// "stop bgm": the position stays where the music stopped.
void MusicStop();
// "seek bgm to start"
void MusicRewind();
// "close bgm"
void MusicClose();
