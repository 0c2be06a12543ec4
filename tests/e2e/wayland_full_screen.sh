#!/usr/bin/env bash
# End to end on Wayland, where desktops run X11 programs through XWayland: weston (headless,
# pixman) with XWayland. Ctrl+F4 makes the window full screen to the compositor and the
# game's picture fills the whole output, in the compositor's own screenshot; F4 brings window
# mode back.
#   wayland_full_screen.sh <program> <data directory>
# Exits 77 (skipped) when weston with XWayland cannot be started here.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
probe=$(readlink -f "$3")
source "$(dirname "$0")/e2e_lib.sh"

for tool in weston Xwayland weston-screenshooter; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
prepare_game "$data"
socket="porongo-e2e-$$"
weston --backend=headless-backend.so --xwayland --use-pixman --debug --width=1280 --height=1024 \
  --socket="$socket" --log="$work/weston.log" >"$work/weston.out" 2>&1 &
server_pid=$!
if ! wait_for 100 grep -q "xserver listening on display" "$work/weston.log"; then
  echo "SKIP: weston with XWayland did not start: $(tail -n 3 "$work/weston.log" 2>/dev/null)"
  exit 77
fi
export DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log")
wait_for 100 xdpyinfo || fail "XWayland did not answer on $DISPLAY"
[[ "$("$probe" hold </dev/null)" == switched ]] || fail "XWayland refused the switch to 640x480 at 16 bits"

# weston's headless back end has no keyboard to focus: keys go to the window directly.
send() { xdotool key --window "$window" "$@" 2>/dev/null; }

# The compositor's picture of its output.
output_shot() {
  mkdir -p "$work/shots"
  rm -f "$work/shots"/*.png
  (cd "$work/shots" && WAYLAND_DISPLAY="$socket" weston-screenshooter >/dev/null 2>&1) || return 1
  cp "$work/shots"/*.png "$work/shot.png"
}
# The frame stretched over the whole output: the board's grey in its top-left corner, the
# panel's black in its bottom-right one, and the two meeting where 480 of 640 columns are.
fills_output() {
  output_shot || return 1
  (($(pixels_of 0 0 100 100 A0A0A4) > 1000)) && (($(pixels_of 1180 924 100 100 000000) > 9000)) &&
    (($(pixels_of 956 200 1 600 000000) <= 8)) && (($(pixels_of 964 200 1 600 000000) > 500))
}

start_game "$program"
client_geometry "$window"
menu_bar=$((HEIGHT - 480))
[[ $WIDTH == 640 ]] && ((menu_bar > 0)) || fail "the window starts at ${WIDTH}x$HEIGHT"

send ctrl+F4
wait_for 50 in_state "$window" FULLSCREEN || fail "Ctrl+F4: the window is not full screen to the compositor"
wait_for 50 fills_output || fail "Ctrl+F4: the game's picture does not fill the output"

send F4
window_mode() { ! in_state "$window" FULLSCREEN && client_geometry "$window" && [[ "${WIDTH}x$HEIGHT" == "640x$((480 + menu_bar))" ]]; }
wait_for 50 window_mode || fail "F4: the window is ${WIDTH}x$HEIGHT$(in_state "$window" FULLSCREEN && echo ", full screen")"
output_shot || fail "weston-screenshooter took no picture"
(($(pixels_of 1180 924 100 100 000000) < 9000)) || fail "F4: the game's picture still covers the output's corner"

send Escape || true  # the window may be gone before the key is released
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
echo "PASS"
