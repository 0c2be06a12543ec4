#include "sound/music.h"

void MusicOpen() { mciSendStringA("open bgm.mid alias bgm", NULL, 0, NULL); }

void MusicPlay(HWND notifyWindow) { mciSendStringA("play bgm NOTIFY", NULL, 0, notifyWindow); }

void MusicStop() { mciSendStringA("stop bgm", NULL, 0, NULL); }

void MusicRewind() { mciSendStringA("seek bgm to start", NULL, 0, NULL); }

void MusicClose() { mciSendStringA("close bgm", NULL, 0, NULL); }
