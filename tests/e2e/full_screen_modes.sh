#!/usr/bin/env bash
# End to end: full screen on an X server whose display mode really switches (Xorg with the
# dummy driver: 1024x768, with 640x480 among its modes).
#   full_screen_modes.sh <program> <data directory> <xorg.conf>
# Ctrl+F4 puts the screen at 640x480 and F4 gives the desktop's mode back; the desktop's
# mode also comes back when the game ends in full screen through Esc, SIGTERM or SIGKILL.
# Exits 77 (skipped) when Xorg cannot be started here.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
config=$(readlink -f "$3")
source "$(dirname "$0")/e2e_lib.sh"

xorg=/usr/lib/xorg/Xorg
[[ -x "$xorg" ]] || xorg=$(command -v Xorg || true)
if [[ -z "$xorg" ]]; then
  echo "SKIP: Xorg is not installed"
  exit 77
fi
cp "$config" "$work/xorg.conf"
if ! start_x_server "$xorg" -config "$work/xorg.conf" -logfile "$work/Xorg.log" -noreset -nolisten tcp; then
  echo "SKIP: Xorg with the dummy driver did not start: $(tail -n 3 "$work/Xorg.log" 2>/dev/null)"
  exit 77
fi
prepare_game "$data"

screen_size() { xrandr --current | sed -n 's/^Screen 0:.* current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }
screen_is() { [[ "$(screen_size)" == "$1" ]]; }

desktop=$(screen_size)
[[ "$desktop" == 1024x768 ]] || fail "the dummy server starts at $desktop"

# Full screen and back, through the accelerators.
start_game "$program"
press ctrl+F4
wait_for 50 screen_is 640x480 || fail "Ctrl+F4 left the screen at $(screen_size)"
eval "$(xdotool getwindowgeometry --shell "$window")"
[[ "$X,$Y" == "0,0" ]] || fail "the full-screen window is at $X,$Y"
press F4
wait_for 50 screen_is "$desktop" || fail "F4 left the screen at $(screen_size)"

# Leaving through Esc while in full screen: the game gives the desktop its mode back.
press ctrl+F4
wait_for 50 screen_is 640x480 || fail "Ctrl+F4 (again) left the screen at $(screen_size)"
press Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
screen_is "$desktop" || fail "after Esc in full screen the screen is $(screen_size)"

# Ended by a signal while in full screen: the mode still comes back.
for signal in TERM KILL; do
  start_game "$program"
  press ctrl+F4
  wait_for 50 screen_is 640x480 || fail "Ctrl+F4 left the screen at $(screen_size) (before SIG$signal)"
  kill -s "$signal" "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=
  wait_for 50 screen_is "$desktop" || fail "after SIG$signal in full screen the screen is $(screen_size)"
done
echo "PASS"
