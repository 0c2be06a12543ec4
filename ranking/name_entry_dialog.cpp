#include "ranking/name_entry_dialog.h"

#include <cstdio>
#include <cstring>

#include "app/shell_globals.h"
#include "game/game.h"
#include "resources/resource.h"

namespace {

constexpr int PromptRank = 5;  // the prompt always speaks of the top five

void InitNameEntry(HWND hDlg) {
  HWND nameField = GetDlgItem(hDlg, IDC_NAME_EDIT);
  HWND prompt = GetDlgItem(hDlg, IDC_PROMPT);
  SendMessageA(nameField, EM_LIMITTEXT, RankingTable::kNameBytes, 0);

  char caption[64];
  std::snprintf(caption, sizeof caption, "あなたは%d位です。", game.Ranking().RankOf(game.GetScore()));
  SetWindowTextA(hDlg, caption);

  char text[256];
  std::snprintf(text, sizeof text,
                "あなたの記録は上位%d位以内に入りました！\n名前が残ります。\n名前を入力して下さい。", PromptRank);
  SendMessageA(prompt, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void RecordResult(HWND hDlg) {
  char name[RankingTable::kNameBytes + 1] = "";
  SendMessageA(GetDlgItem(hDlg, IDC_NAME_EDIT), WM_GETTEXT, sizeof name, reinterpret_cast<LPARAM>(name));
  if (name[0] == '\0') std::strcpy(name, "No Name");
  game.Ranking().Insert(game.GetScore(), game.BodyLength(), name);
}

}  // namespace

INT_PTR CALLBACK NameEntryDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      InitNameEntry(hDlg);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        RecordResult(hDlg);
        EndDialog(hDlg, 1);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}
