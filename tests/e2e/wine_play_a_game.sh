#!/usr/bin/env bash
# End to end: the Windows program under Wine on a real X server (Xvfb), played with real key
# presses.
#   wine_play_a_game.sh <porongo.exe> <data directory> <Wine folder> [<Linux program>]
# The Wine folder holds the Japanese prefix that scripts/wine-prefix.sh sets up. Given the
# Linux build's program, the first frame is compared with the Linux build's own: the
# board's plain cells must be the same pixels, and the panel's texts must cover the same
# places in each colour to 4 pixels (the two draw their glyphs differently). Then it
# pauses and resumes, lets the snake run into the bottom edge, types a name into the ranking
# dialog, checks Ranking.dat, starts a new game, opens and closes the About box and quits
# with Esc, expecting exit code 0. Without the Linux program everything but the comparison
# runs, and the test reports itself skipped (77).
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
wine_folder=$3
linux_program=${4:+$(readlink -f "$4")}
here=$(cd "$(dirname "$0")" && pwd)
source "$here/e2e_lib.sh"
wine_prefix=("$here/../../scripts/wine-prefix.sh" "$wine_folder")
# Wine's helper processes (wineserver, services.exe, explorer.exe) go with the test.
trap 'WINEPREFIX="$wine_folder/prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true; cleanup' EXIT

# The prefix is made first (wineboot takes a while), outside the waits below.
bash "${wine_prefix[@]}" || fail "the Wine prefix could not be set up"

start_x_server Xvfb -screen 0 1024x768x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
prepare_game "$data"
printf '[%d]\r\nName=Old%d\r\nBody=0\r\nScore=-%d\r\n' 1 1 1 2 2 2 3 3 3 4 4 4 5 5 5 >"$work/Ranking.dat"
ranking_before=$(cat "$work/Ranking.dat")

# The client area (640x480 under the menu bar) of $window, from the last screenshot, to $1.
client_area() {
  eval "$(xdotool getwindowgeometry --shell "$window")"  # WIDTH HEIGHT X Y
  convert "$work/shot.png" -crop "640x480+$X+$((Y + HEIGHT - 480))" +repage "$1"
}

# The board's cells as 900 image signatures, row by row.
cell_signatures() {
  mkdir -p "$work/cells"
  rm -f "$work/cells/"*
  convert "$1" -crop 480x480+0+0 +repage -crop 16x16 +repage "$work/cells/%03d.png"
  identify -format '%#\n' "$work/cells/"*.png
}

# The plain board cell of each of the tile's four quarters (the signature that most cells
# of that quarter have: the sprites cover a few), one a line.
plain_cells() {
  awk '{ i = NR - 1; q = (i % 2) + 2 * (int(i / 30) % 2); n[q, $1]++ }
       END { for (k in n) { split(k, p, SUBSEP); if (n[k] > best[p[1]]) { best[p[1]] = n[k]; sig[p[1]] = p[2] } }
             for (q = 0; q < 4; q++) print sig[q] }' <<<"$1"
}

# --- the Linux build's first frame, for reference ----------------------------------------------
if [[ -n "$linux_program" ]]; then
  start_game "$linux_program"
  sleep 0.5
  shoot
  client_area "$work/linux.png"
  press Escape
  wait_for_game_end || fail "the Linux program did not end on Esc"
fi
[[ "$(cat "$work/Ranking.dat")" == "$ranking_before" ]] || fail "the reference run changed Ranking.dat"

# --- the Windows program -----------------------------------------------------------------------
printf 'exec bash %q %q /usr/lib/wine/wine64 %q\n' "${wine_prefix[@]}" "$program" >"$work/porongo-under-wine"
chmod +x "$work/porongo-under-wine"
start_game "$work/porongo-under-wine"
[[ "$(xdotool getwindowname "$window")" == "ポロンゴ" ]] || fail "caption '$(xdotool getwindowname "$window")'"
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$WIDTH" == 640 ]] || fail "window width $WIDTH, expected 640"
menu_bar=$((HEIGHT - 480))
((menu_bar > 0 && menu_bar < 60)) || fail "window height $HEIGHT: no room for a 480-pixel client area under a menu bar"

look() {
  sleep 0.5
  shoot
  client_area "$work/client.png"
}

# The box (left top right bottom) of the panel's pixels near one colour (hex RRGGBB).
ink_box() {
  convert "$1" -crop 160x480+480+0 +repage -fuzz 30% -fill black +opaque "#$2" -fill white -opaque "#$2" \
    -format '%@' info: | awk -F'[x+]' '{ print $3, $4, $3 + $1, $4 + $2 }'
}

# --- the first frame, then pause (the board is compared while the game stands) ----------------
look
press space
cp "$work/client.png" "$work/first.png"
expect_colour "title" 40 490 10 110 30 FFFFFF
expect_colour "score label" 20 510 80 120 20 00FFFF
expect_no_colour "no pause title while playing" 150 30 300 60 0000FF

if [[ -n "$linux_program" ]]; then
  linux_cells=$(cell_signatures "$work/linux.png")
  wine_cells=$(cell_signatures "$work/first.png")
  plain=$(plain_cells "$linux_cells")
  [[ "$(plain_cells "$wine_cells")" == "$plain" ]] || fail "the board's plain cells differ from the Linux build's"
  # Every cell that no sprite covers is one of those four: at the start the snake's head,
  # ten pickups and three roamers cover 14 cells, and a tick or two may have passed.
  plain_count=$(awk 'NR == FNR { p[$1] = 1; next } ($1 in p) { n++ } END { print n + 0 }' \
    <(echo "$plain") <(echo "$wine_cells"))
  ((plain_count >= 900 - 16)) || fail "only $plain_count of the board's cells are plain cells"

  # The panel: its texts in each colour must cover the same box as in the Linux frame, to 4
  # pixels. The glyphs themselves differ: Wine places IPAPGothic's advances on whole pixels
  # where Qt keeps their fractions (the longest line drifts by 3 pixels), and the two smooth
  # the edges differently, so no pixel-for-pixel comparison holds; a text in the wrong place
  # or colour moves a box by ten pixels or more.
  for colour in FFFFFF 00FF00 00FFFF FF00FF FF0000 FFFF00; do
    read -r -a want <<<"$(ink_box "$work/linux.png" "$colour")"
    read -r -a got <<<"$(ink_box "$work/first.png" "$colour")"
    for i in 0 1 2 3; do
      d=$((got[i] - want[i]))
      ((d >= -4 && d <= 4)) || fail "the panel's #$colour texts span ${got[*]}, the Linux build's ${want[*]}"
    done
  done
fi

# --- pause and resume --------------------------------------------------------------------------
look
expect_colour "pause title" 50 160 30 300 60 0000FF
expect_no_colour "tint box keeps only blue" 22 82 436 346 A0A0A4
press space
look
expect_no_colour "no pause title after resuming" 150 30 300 60 0000FF

# --- the snake runs into the bottom edge; the ranking dialog asks for a name -------------------
enter_name E2E
# The file as the Linux build writes it for the same game: CRLF, the new result first, the
# old fifth gone. The score and body length are the game's own (pickups may lie in the way).
body=$(sed -n '3s/^Body=\(-\?[0-9]*\)\r$/\1/p' "$work/Ranking.dat")
score=$(sed -n '4s/^Score=\(-\?[0-9]*\)\r$/\1/p' "$work/Ranking.dat")
expected_ranking=$(printf '[%d]\r\nName=%s\r\nBody=%s\r\nScore=%s\r\n' 1 E2E "$body" "$score" \
  2 Old1 0 -1 3 Old2 0 -2 4 Old3 0 -3 5 Old4 0 -4)
[[ -n "$body" && -n "$score" && "$(cat "$work/Ranking.dat")" == "$expected_ranking" ]] ||
  fail "Ranking.dat is not what the Linux build writes: $(cat -v "$work/Ranking.dat")"

look
expect_colour "game-over title" 50 80 30 400 60 FF0000
expect_colour "ranking rows" 200 30 110 420 300 FFFFFF

# --- a new game --------------------------------------------------------------------------------
press space
look
expect_no_colour "no game-over title in a new game" 80 30 400 60 FF0000

# --- the About box -----------------------------------------------------------------------------
press F1
wait_for_about
close_about

# --- Esc quits at once with exit code 0 --------------------------------------------------------
press Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
if [[ -z "$linux_program" ]]; then
  echo "PASS, without the comparison with the Linux build's frame (no Linux program given)"
  exit 77
fi
echo "PASS"
