// The dialog that asks a player whose score enters the top five for a name.
#pragma once

#include "platform/win32.h"

// The procedure of DLG_NAME_ENTRY: the caption shows the rank, OK (or Enter) records the
// result with the typed name ("No Name" when empty) and writes Ranking.dat; Esc and the
// close box are ignored, so the result is always recorded.
INT_PTR CALLBACK NameEntryDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
