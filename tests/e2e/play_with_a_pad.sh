#!/usr/bin/env bash
# End to end: the real program on a real X server (Xvfb), played with a game controller.
#   play_with_a_pad.sh <program> <data directory> <pad shim library>
# The shim (pad_shim.cpp, preloaded) plugs one of SDL's virtual controllers into the program
# and drives it from a FIFO. With the pad alone the snake is turned right with the stick and
# up into the top wall with the D-pad; B leaves the ranking dialog open, Start answers it;
# Start begins a new game, A pauses and resumes it, and no button ends the program. The
# keyboard's Esc then still quits, with exit code 0.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
shim=$(readlink -f "$3")
source "$(dirname "$0")/e2e_lib.sh"

start_x_server Xvfb -screen 0 1024x768x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
prepare_game "$data"
# Whatever platform the environment asks for, this test is about X.
export QT_QPA_PLATFORM=xcb

# Every result ranks, so the name dialog opens at the end of the game.
printf '[%d]\r\nName=Old%d\r\nBody=0\r\nScore=-%d\r\n' 1 1 1 2 2 2 3 3 3 4 4 4 5 5 5 >"$work/Ranking.dat"

# Only the game gets the shim, not the tools that look at it.
mkfifo "$work/pad"
cat >"$work/porongo-with-pad" <<EOF
#!/bin/sh
PORONGO_TEST_PAD="$work/pad" LD_PRELOAD="$shim" exec "$program"
EOF
chmod +x "$work/porongo-with-pad"

start_game "$work/porongo-with-pad"
wait_for 100 test -e "$work/pad.ready" || fail "the virtual pad was not plugged in"
exec 5<>"$work/pad"
pad() { echo "$*" >&5; }
# A press long enough for the program's polls (every 10 ms) to see it.
tap() {
  pad press "$1"
  sleep 0.15
  pad release "$1"
}

eval "$(xdotool getwindowgeometry --shell "$window")"  # WIDTH HEIGHT X Y
menu_bar=$((HEIGHT - 480))

# The head's cell (column row) in the last screenshot, from the colour only the head has.
head_cell() {
  local box
  box=$(convert "$work/shot.png" -crop "480x480+$X+$((Y + menu_bar))" +repage -fill black +opaque "#FF3838" \
    -format %@ info: 2>/dev/null)  # WxH+X+Y around the head's pixels
  [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
  ((BASH_REMATCH[1] > 0 && BASH_REMATCH[1] <= 16)) || return 1
  echo "$(((BASH_REMATCH[3] + BASH_REMATCH[1] / 2) / 16)) $(((BASH_REMATCH[4] + BASH_REMATCH[2] / 2) / 16))"
}

# --- the stick turns the snake right ---------------------------------------------------------
# It starts in the top-left corner heading down, so unturned it stays in column 0.
pad axis leftx 32767
sleep 0.15
pad axis leftx 0
turned_right() {
  seen=$(date +%s%N)
  shoot
  read -r column row < <(head_cell) || return 1
  ((column >= 1))
}
wait_for 30 turned_right || fail "the stick did not turn the snake right (head at column ${column:-?})"

# --- the D-pad turns it up, into the top wall -------------------------------------------------
# Going on to the right, it would reach the right wall only after 29 - column more steps of
# 200 ms from the screenshot: at least 4.8 s while the head was in columns 1 to 5.
((column <= 5)) || fail "the head was already in column $column when seen; expected at most 5"
tap dpup
wait_for 100 name_dialog_open || fail "no name dialog: the game did not end"
elapsed_ms=$((($(date +%s%N) - seen) / 1000000))
((elapsed_ms < 4000)) || fail "the game ended ${elapsed_ms} ms after the turn, as late as at the right wall"

# --- the ranking dialog: B (Esc) leaves it open, Start (Enter) records the result -------------
tap b
sleep 0.5
name_dialog_open >/dev/null || fail "B closed the name dialog"
tap start
wait_for 50 name_dialog_closed || fail "Start did not answer the name dialog"
first_section=$(awk 'NR<=4' "$work/Ranking.dat" | tr -d '\r')
[[ "$first_section" == *"Name=No Name"* ]] || fail "the result is not first as No Name: $first_section"

# --- Start begins a new game; A pauses and resumes it ---------------------------------------
sleep 0.5
shoot
expect_colour "game-over title" 50 80 30 400 60 FF0000
tap start
sleep 0.5
shoot
expect_no_colour "no game-over title in a new game" 80 30 400 60 FF0000
tap a
sleep 0.5
shoot
expect_colour "pause title" 50 160 30 300 60 0000FF
tap a
sleep 0.5
shoot
expect_no_colour "no pause title after resuming" 150 30 300 60 0000FF

# --- no button ends the program -----------------------------------------------------------
for button in b back guide x y leftshoulder rightshoulder leftstick rightstick; do tap "$button"; done
sleep 0.5
kill -0 "$game_pid" 2>/dev/null || fail "a button ended the program"
find_window --onlyvisible --class PORONGO >/dev/null || fail "a button closed the window"

# --- the keyboard still quits --------------------------------------------------------------
press Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
echo "PASS"
