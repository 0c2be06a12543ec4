// The game clock: the one window timer whose callback advances the game.
#pragma once

#include "platform/win32.h"

// Tick count of the last ten-second step; 0 at start and after each game over.
extern DWORD lastStepTick;
// Playing ticks since the roamers last moved on their own cadence.
extern int roamerTickCounter;

// One tick of the game: a step of the snake, the end of a game, the ten-second step, the
// roamers' cadence, and a repaint.
void CALLBACK GameTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD time);

// Restarts timer `id` of `hwnd` with a new period. Always returns TRUE.
BOOL ResetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc);
