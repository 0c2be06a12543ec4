#!/usr/bin/env bash
# End to end: full screen on a screen whose height is no whole multiple of 480 near its own,
# 1280x800 (Xvfb), under openbox.
#   full_screen_smooth.sh <program> <data directory>
# Full screen shows the frame scaled smoothly to the screen's height, about 1067x800 at 107,0,
# with black on either side; the pointer at the top edge brings the menu bar; F4 gives back
# the exact window. The screen's mode never changes, so a program killed in full screen leaves
# nothing to restore.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/desktop_lib.sh"

start_x_server Xvfb -screen 0 1280x800x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
start_openbox || fail "openbox did not start: $(cat "$work/openbox.log")"
prepare_game "$data"
write_unbeatable_ranking
start_x_game_window
mode=$(screen_mode)
shoot_window "$window"
menu_colour=$(convert "$work/shot.png" -crop "1x1+600+$((menu_bar / 2))" -format '%[hex:p{0,0}]' info:)

full_screen() { in_state "$window" FULLSCREEN && client_is "$window" "0,0 1280x800"; }
# 800 / 480 is no whole number: the frame's left edge falls at 106.67, rounded either way.
shows_full_screen() { shoot && { shows_frame_smooth_at 107 0 1067 800 || shows_frame_smooth_at 106 0 1067 800; }; }
xdotool mousemove 640 400
press ctrl+F4
wait_up_to 10 full_screen || fail "Ctrl+F4: the window is at $(window_now)"
wait_up_to 10 shows_full_screen || fail "full screen: $seen"
[[ "$(screen_mode)" == "$mode" ]] || fail "full screen changed the screen's mode: $(screen_mode)"

# The pointer at the top edge brings the menu bar over the frame's top; away, it goes.
menu_rows() { pixels_of 300 2 600 $((menu_bar - 4)) "$menu_colour"; }
menu_shown() { shoot && (($(menu_rows) > 300 * (menu_bar - 4))); }
xdotool mousemove 640 0 sleep 0.1 mousemove 642 1
wait_up_to 10 menu_shown || fail "in full screen the pointer at the top edge brought no menu bar: $(menu_rows) pixels of #$menu_colour"
xdotool mousemove 640 400 sleep 0.1 mousemove 642 402
wait_up_to 10 shows_full_screen || fail "the pointer away from the top edge: $seen"

press F4
expect_window_mode "F4"
[[ "$(screen_mode)" == "$mode" ]] || fail "back from full screen the screen's mode is $(screen_mode)"

# Killed in full screen: the screen is as it was.
press ctrl+F4
wait_up_to 10 full_screen || fail "Ctrl+F4 (again): the window is at $(window_now)"
kill -KILL "$game_pid"
wait "$game_pid" 2>/dev/null || true
game_pid=
[[ "$(screen_mode)" == "$mode" ]] || fail "after SIGKILL in full screen the screen's mode is $(screen_mode)"
echo "PASS"
