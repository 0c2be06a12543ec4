#!/usr/bin/env bash
# End to end on Wayland itself: the game as a native Wayland client of sway (headless, drawn
# by pixman, without XWayland), started with WAYLAND_DISPLAY and no DISPLAY, on a 1920x1080
# output.
#   desktop_sway.sh <program> <data directory>
# Full screen shows the frame at twice its size at 320,60 with black around it, in the
# compositor's picture of its output; F4 gives back the window exactly as it was, pixel for
# pixel (no second title strip under sway's), after every round trip: three from the
# floating window, then two from the tiled one.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/desktop_lib.sh"

require_tools sway swaymsg grim wtype jq setpriv
start_sway 1920 1080 || fail "sway did not start"
shoot_output=shoot_wayland
prepare_game "$data"
unset QT_QPA_PLATFORM DISPLAY
write_unbeatable_ranking
(cd "$work" && exec "$program" >"$work/game.log" 2>&1) &
game_pid=$!
window_or_end() { sway_window || ! kill -0 "$game_pid"; }
wait_up_to 10 window_or_end
sway_window || fail "the program opened no window on sway ($(game_liveness))"
((WIDTH == 640 && HEIGHT > 480 && HEIGHT < 540)) || fail "the window is ${WIDTH}x$HEIGHT, not 640x480 under a menu bar"
menu_bar=$((HEIGHT - 480))
game_over_on_output() { "$shoot_output" && game_over_at "$X" $((Y + menu_bar)) && frame_still_at "$X" $((Y + menu_bar)); }
wait_up_to 30 game_over_on_output || fail "the first game did not end within 30 seconds ($(game_liveness))"

# Where sway has the window now, as window mode, with the output's picture.
note_window_mode() {
  sway_window
  window_mode="$X,$Y ${WIDTH}x$HEIGHT"
  keep_output_picture
}
in_window_mode() { sway_window && [[ $SWAY_FULL_SCREEN == 0 && "$X,$Y ${WIDTH}x$HEIGHT" == "$window_mode" ]]; }
full_screen() { sway_window && [[ $SWAY_FULL_SCREEN == 1 ]]; }
shows_full_screen() { "$shoot_output" && shows_frame_scaled_at 320 60 2; }
round_trip() {
  press_wayland ctrl+F4
  wait_up_to 10 full_screen || fail "Ctrl+F4 ($1): sway has the window at $X,$Y ${WIDTH}x$HEIGHT, not full screen"
  wait_up_to 10 shows_full_screen || fail "full screen ($1): $seen"
  press_wayland F4
  wait_up_to 10 in_window_mode || fail "F4 ($1): sway has the window at $X,$Y ${WIDTH}x$HEIGHT (full screen $SWAY_FULL_SCREEN), not $window_mode"
  wait_up_to 10 output_as_kept || fail "F4 ($1): $seen"
}

note_window_mode
for trip in 1 2 3; do round_trip "floating, $trip"; done

swaymsg "[pid=$game_pid] floating disable" >/dev/null
tiled() { sway_window && ((WIDTH > 1000 && HEIGHT > 800)); }
wait_up_to 10 tiled || fail "sway did not tile the window: it is at $X,$Y ${WIDTH}x$HEIGHT"
tile_shows_frame() { "$shoot_output" && shows_frame_stretched_at "$X" $((Y + menu_bar)) "$WIDTH" $((HEIGHT - menu_bar)); }
wait_up_to 10 tile_shows_frame || fail "tiled: $seen"
note_window_mode
for trip in 1 2; do round_trip "tiled, $trip"; done

press_wayland Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
echo "PASS"
