// The question that precedes clearing the ranking from the menu.
#pragma once

#include "platform/win32.h"

// Asks with a Yes/No box owned by `owner`; on Yes every entry is cleared and Ranking.dat
// is rewritten. Returns the box's answer.
int ConfirmRankingReset(HWND owner);
