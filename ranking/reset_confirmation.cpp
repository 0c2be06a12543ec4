#include "ranking/reset_confirmation.h"

#include "app/shell_globals.h"
#include "game/game.h"

int ConfirmRankingReset(HWND owner) {
  int answer = MessageBoxA(owner, "ランキングを初期化します。\nよろしいですか？", "ランキング初期化", MB_YESNO);
  if (answer == IDYES) game.Ranking().Reset();
  return answer;
}
