#!/usr/bin/env bash
# End to end: full screen on an X server whose display mode really switches (Xorg with the
# dummy driver: 1024x768, with 640x480 among its modes), under a window manager (openbox).
#   full_screen_modes.sh <program> <data directory> <xorg.conf>
# Ctrl+F4 puts the screen at 640x480 with the window full screen to the window manager and
# covering it; the menu bar appears at the top edge while the pointer is there, the frame
# still one to one below it; F4 gives back the desktop's mode and the window's exact
# rectangle. The desktop's mode also comes back when the game ends in full screen through
# Esc, SIGTERM or SIGKILL. Exits 77 (skipped) when Xorg cannot be started here.
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
if ! start_x_server "$xorg" -config "$work/xorg.conf" -logfile "$work/Xorg.log" -nolisten tcp; then
  echo "SKIP: Xorg with the dummy driver did not start: $(tail -n 3 "$work/Xorg.log" 2>/dev/null)"
  exit 77
fi
start_openbox || fail "openbox did not start: $(cat "$work/openbox.log")"
prepare_game "$data"

screen_size() { xrandr --current | sed -n 's/^Screen 0:.* current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }
screen_is() { [[ "$(screen_size)" == "$1" ]]; }

desktop=$(screen_size)
[[ "$desktop" == 1024x768 ]] || fail "the dummy server starts at $desktop"

# Full screen and back, through the accelerators.
start_game "$program"
wait_for 50 frame_extents "$window" || fail "openbox drew no frame around the window"
normal=$(window_rect "$window")
client_geometry "$window"
menu_bar=$((HEIGHT - 480))
shoot
menu_colour=$(convert "$work/shot.png" -crop "1x1+$((X + 600))+$((Y + menu_bar / 2))" -format '%[hex:p{0,0}]' info:)

press ctrl+F4
wait_for 50 screen_is 640x480 || fail "Ctrl+F4 left the screen at $(screen_size)"
wait_for 50 in_state "$window" FULLSCREEN || fail "the window covering the screen is not full screen to openbox"
wait_for 50 client_is "$window" "0,0 640x480" || fail "the full-screen window is at $X,$Y, ${WIDTH}x$HEIGHT"

# The pointer at the top edge brings the menu bar; the client area below it stays 640x480.
menu_shown() {
  shoot
  (($(pixels_of 400 2 200 $((menu_bar - 4)) "$menu_colour") > 150 * (menu_bar - 4))) &&
    (($(pixels_of 479 $((menu_bar + 100)) 1 300 000000) <= 8)) &&
    (($(pixels_of 480 $((menu_bar + 100)) 1 300 000000) > 250))
}
xdotool mousemove 320 3 sleep 0.1 mousemove 322 4
wait_for 50 menu_shown || fail "in full screen the pointer at the top edge brought no menu bar over a one-to-one frame"
client_is "$window" "0,0 640x480" || fail "with the menu bar shown the full-screen window is at $X,$Y, ${WIDTH}x$HEIGHT"
xdotool mousemove 320 300 sleep 0.1 mousemove 322 302
menu_gone() { shoot; (($(pixels_of 400 2 200 $((menu_bar - 4)) "$menu_colour") < 100)); }
wait_for 50 menu_gone || fail "the menu bar stayed when the pointer left the top edge"

press F4
wait_for 50 screen_is "$desktop" || fail "F4 left the screen at $(screen_size)"
wait_for 50 window_rect_is "$window" "$normal" || fail "F4 put the window at $(window_rect "$window"), not $normal"
! in_state "$window" FULLSCREEN || fail "back in window mode the window is still full screen to openbox"

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
