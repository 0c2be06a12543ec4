#!/usr/bin/env bash
# End to end: the real program on a real X server (Xvfb), played with real key presses.
#   play_a_game.sh <program> <data directory>
# It starts the game, checks the window and the frame on screen, pauses and resumes, lets
# the snake run into the bottom edge, types a name into the ranking dialog, checks
# Ranking.dat, starts a new game, opens and closes the About box, switches to full screen
# and back, and quits with Esc, expecting exit code 0.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"

start_x_server Xvfb -screen 0 1024x768x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
prepare_game "$data"

# A ranking whose entries all have negative scores, so that even a score of 0 ranks first
# and the name dialog opens when the snake runs into the edge.
printf '[%d]\r\nName=Old%d\r\nBody=0\r\nScore=-%d\r\n' 1 1 1 2 2 2 3 3 3 4 4 4 5 5 5 >"$work/Ranking.dat"

start_game "$program"
eval "$(xdotool getwindowgeometry --shell "$window")"  # WIDTH HEIGHT X Y
[[ "$WIDTH" == 640 ]] || fail "window width $WIDTH, expected 640"
menu_bar=$((HEIGHT - 480))
((menu_bar > 0 && menu_bar < 60)) || fail "window height $HEIGHT: no room for a 480-pixel client area under a menu bar"
[[ "$(xdotool getwindowname "$window")" == "ポロンゴ" ]] || fail "caption '$(xdotool getwindowname "$window")'"

# --- the frame while playing ----------------------------------------------------------------
sleep 0.5
shoot
expect_colour "title" 40 490 10 110 30 FFFFFF
expect_colour "score label" 20 510 80 120 20 00FFFF
expect_colour "body label" 20 510 100 120 20 FF00FF
expect_colour "key guide" 20 490 300 150 120 FFFF00
expect_no_colour "no pause title while playing" 150 30 300 60 0000FF

# --- pause and resume -----------------------------------------------------------------------
press space
sleep 0.5
shoot
expect_colour "pause title" 50 160 30 300 60 0000FF
expect_colour "restart prompt" 50 50 430 400 35 FFFFFF
# Inside the tinted box only blue survives: the grey tile's faces turn pure blue shades.
expect_no_colour "tint box keeps only blue" 22 82 436 346 A0A0A4
press space
sleep 0.5
shoot
expect_no_colour "no pause title after resuming" 150 30 300 60 0000FF

# --- the snake runs into the bottom edge; the ranking dialog asks for a name --------------
enter_name E2E
grep -q "Name=E2E" "$work/Ranking.dat" || fail "Ranking.dat has no entry named E2E: $(cat -v "$work/Ranking.dat")"
grep -q $'^\[1\]\r$' "$work/Ranking.dat" || fail "Ranking.dat lost its CRLF section lines"
first_section=$(awk 'NR<=4' "$work/Ranking.dat" | tr -d '\r')
[[ "$first_section" == *"Name=E2E"* ]] || fail "the new result is not first: $first_section"
grep -q "Name=Old4" "$work/Ranking.dat" || fail "the old fourth entry should have moved to fifth place"
grep -q "Name=Old5" "$work/Ranking.dat" && fail "the old fifth entry should have dropped out"

sleep 0.5
shoot
expect_colour "game-over title" 50 80 30 400 60 FF0000
expect_colour "ranking rows" 200 30 110 420 300 FFFFFF

# --- a new game -----------------------------------------------------------------------------
press space
sleep 0.5
shoot
expect_no_colour "no game-over title in a new game" 80 30 400 60 FF0000

# --- the About box --------------------------------------------------------------------------
press F1
wait_for_about
close_about

# --- full screen and back (no window manager: the program covers the screen itself) ---------
press ctrl+F4
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$X,$Y,$WIDTH,$HEIGHT" == "0,0,1024,768" ]] || fail "full screen window at $X,$Y ${WIDTH}x$HEIGHT"
press F4
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$WIDTH" == 640 && "$HEIGHT" == $((480 + menu_bar)) ]] || fail "window mode back at ${WIDTH}x$HEIGHT"

# --- Esc quits at once with exit code 0 ----------------------------------------------------
press Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
echo "PASS"
