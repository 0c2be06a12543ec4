#!/usr/bin/env bash
# End to end: a dialog over a dialog, under openbox and under i3 on Xvfb.
#   nested_dialogs.sh <program> <data directory>
# F1 opens the About box and the game runs on behind it; when the snake runs into the edge,
# the name dialog opens over the box. Enter closes the name dialog, and the keyboard is the
# About box's again: Esc closes it, and a second Esc quits the program. The keys go wherever
# the window manager and the program put the keyboard; no window is focused for them.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"

prepare_game "$data"

# Whether the X server sends the keys to this window.
has_keyboard() { [[ "$(xdotool getwindowfocus 2>/dev/null)" == "$1" ]]; }

# Stops the window manager and the X server of one run.
stop_desktop() {
  kill "$wm_pid" "$server_pid" 2>/dev/null || true
  wait "$wm_pid" "$server_pid" 2>/dev/null || true
  wm_pid='' server_pid=''
}

for wm in openbox i3; do
  start_x_server Xvfb -screen 0 1600x1200x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
  "start_$wm" || fail "$wm did not start: $(cat "$work/$wm.log")"
  # Every stored score is negative, so that the game over asks for a name.
  printf '[%d]\r\nName=Old%d\r\nBody=0\r\nScore=-%d\r\n' 1 1 1 2 2 2 3 3 3 4 4 4 5 5 5 >"$work/Ranking.dat"

  start_game "$program"
  press F1
  wait_for_about
  about=$(about_open)
  wait_for 200 name_dialog_open || fail "$wm: no name dialog after the game ended behind the About box"
  dialog=$(name_dialog_open)
  about_open >/dev/null || fail "$wm: the About box closed when the name dialog opened"
  wait_for 50 has_keyboard "$dialog" || fail "$wm: the name dialog did not get the keyboard"
  xdotool key Return
  wait_for 50 name_dialog_closed || fail "$wm: Enter did not close the name dialog"
  wait_for 50 has_keyboard "$about" || fail "$wm: the keyboard did not go back to the About box"
  xdotool key Escape
  wait_for 50 about_closed || fail "$wm: after the name dialog, Esc did not close the About box"
  wait_for 50 has_keyboard "$window" || fail "$wm: the keyboard did not go back to the main window"
  xdotool key Escape
  wait_for_game_end || fail "$wm: after the About box, Esc did not end the program"
  [[ $game_status == 0 ]] || fail "$wm: exit code $game_status"
  stop_desktop
done
echo "PASS"
