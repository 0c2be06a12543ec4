#!/usr/bin/env bash
# End to end under i3 on an X server with one 1920x1080 mode and no 640x480 (Xvfb).
#   desktop_i3.sh <program> <data directory>
# Full screen, from the floating window and from the tiled one (tiled on the way back from full
# screen), shows the frame at twice its size at 320,60 with black around it and i3's bar
# hidden, in a picture of the whole screen, without changing the screen's mode; F4 gives back
# the window as it was.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/desktop_lib.sh"

require_tools i3 i3-msg
start_x_server Xvfb -screen 0 1920x1080x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
start_i3_desktop || fail "i3 did not start"
wait_up_to 20 i3_bar_shown || fail "i3 showed no bar"
prepare_game "$data"
write_unbeatable_ranking
shoot_output=shoot
start_x_game_window
check_full_screen_round_trips 1920 1080 2 320 60
i3_bar_shown || fail "back in window mode i3's bar is not on the screen"

# Tiled at once on the way back from full screen, while the program's placement of the window
# is still on its way to i3: the frame is stretched over the tile; full screen and back gives
# the tile back.
keys ctrl+F4
wait_up_to 10 in_state "$window" FULLSCREEN || fail "Ctrl+F4 before tiling: the window is at $(window_now)"
keys F4
i3-msg "[id=$window] floating disable" >/dev/null
tiled() { client_geometry "$window" && ((WIDTH > 1000 && HEIGHT > 800)); }
wait_up_to 10 tiled || fail "i3 did not tile the window: its client area is $X,$Y ${WIDTH}x$HEIGHT"
normal=$(window_place)
normal_states=$(held_states)
window_mode_picture=window_shows_frame_stretched
expect_window_mode "tiled"
check_full_screen_round_trips 1920 1080 2 320 60

end_game_with_escape
echo "PASS"
