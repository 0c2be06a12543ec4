#!/usr/bin/env bash
# End to end: the Windows program under Wine on a real X server (Xvfb) in a prefix with an
# English (United States) locale, code page 1252 like most machines sold outside Japan,
# started in a folder whose name code page 932 cannot spell.
#   wine_outside_japan.sh <porongo.exe> <data directory> <Wine folder>
# The program's manifest asks for code page 932 (activeCodePage ja-JP), which Wine grants
# with a locale name as Windows 11 does (measured with Wine 8; Windows 10 keeps the system's
# code page, and there the caption reads "????", as it does here without the manifest). So
# the caption read through the X server is ポロンゴ, and the name dialog comes up under its
# Japanese caption. The snake runs into the bottom edge, a name is typed, and Ranking.dat in
# that folder must come out as on a Japanese system: the names already in it (Shift_JIS,
# with the trail byte 0x5C) kept byte for byte. Esc then quits with exit code 0.
# Wine differs from Windows in this prefix where the test does not look: its menu bar draws
# the Japanese letters as boxes (its menu font has none and it falls back to no Japanese
# font), where Windows links a Japanese font to its menu font.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
mkdir -p "$3"
wine_folder=$(cd "$3" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
wine_prefix=("$here/../../scripts/wine-prefix.sh" --locale en_US "$wine_folder")
# Wine's helper processes (wineserver, services.exe, explorer.exe) go with the test.
trap 'WINEPREFIX="$wine_folder/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; cleanup' EXIT

# The prefix is made first (wineboot takes a while), outside the waits below.
bash "${wine_prefix[@]}" || fail "the Wine prefix could not be set up"

start_x_server Xvfb -screen 0 1024x768x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
prepare_game "$data"
# Code page 932 spells "ë" as "e": the folder's name in the A functions leads nowhere.
folder="$work/Zoë"
mkdir "$folder"
mv "$work/bgm.mid" "$work/BLEEP04.WAV" "$folder/"
# Five results as a Japanese system writes them: ソ is 83 5C, 表 is 95 5C.
names=($'\x83\x5C1' $'\x95\x5C2' $'\x83\x5C3' $'\x95\x5C4' $'\x83\x5C5')
for i in 1 2 3 4 5; do
  printf '[%d]\r\nName=%s\r\nBody=0\r\nScore=-%d\r\n' "$i" "${names[i - 1]}" "$i"
done >"$folder/Ranking.dat"

printf 'cd %q && exec bash %q %q %q %q /usr/lib/wine/wine64 %q\n' "$folder" "${wine_prefix[@]}" "$program" \
  >"$work/porongo-under-wine"
chmod +x "$work/porongo-under-wine"
start_game "$work/porongo-under-wine"
title=$(xprop -id "$window" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p')
[[ "$title" == "ポロンゴ" ]] || fail "caption '$title': the process does not have code page 932"

enter_name E2E
body=$(sed -n '3s/^Body=\(-\?[0-9]*\)\r$/\1/p' "$folder/Ranking.dat")
score=$(sed -n '4s/^Score=\(-\?[0-9]*\)\r$/\1/p' "$folder/Ranking.dat")
expected=$(printf '[%d]\r\nName=%s\r\nBody=%s\r\nScore=%s\r\n' 1 E2E "$body" "$score" \
  2 "${names[0]}" 0 -1 3 "${names[1]}" 0 -2 4 "${names[2]}" 0 -3 5 "${names[3]}" 0 -4)
[[ -n "$body" && -n "$score" && "$(cat "$folder/Ranking.dat")" == "$expected" ]] ||
  fail "Ranking.dat is not what a Japanese system writes: $(cat -v "$folder/Ranking.dat")"

press Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
echo "PASS"
