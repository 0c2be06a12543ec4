#include "sound/effects.h"

#include "platform/win32.h"

void PlayPickupSound() { sndPlaySoundA("BLEEP04.WAV", SND_ASYNC); }
