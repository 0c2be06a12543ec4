// Short sound effects.
#pragma once

// Starts the pickup blip ("BLEEP04.WAV") without waiting for it; a blip still playing is
// cut off by the new one.
void PlayPickupSound();
