#!/usr/bin/env bash
# End to end under weston (headless, drawn by pixman) on a 1920x1080 output, the game an X11
# client of its XWayland.
#   desktop_weston.sh <program> <data directory>
# Full screen shows the frame at twice its size at 320,60 with black around it, in the
# compositor's own picture of its output; F4 gives back the window with the frame one to one in
# it. Where the window comes back is weston's to say, and once only: weston 10's X window
# manager puts any window that leaves full screen (an xmessage as well) back a frame's size up
# and left of where it was, so that after a few round trips it leaves the output, and keeps no
# X position to check it by.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/desktop_lib.sh"

require_tools weston Xwayland weston-screenshooter
start_weston 1920 1080 || fail "weston with XWayland did not start"
prepare_game "$data"
write_unbeatable_ranking
# The headless back end has no seat: keys go to the window itself, and moving XWayland's
# pointer there ends XWayland. weston keeps no X position for the window: where it is, the
# output's picture says.
key_sender=send_x
pointer=
shoot_output=shoot_weston
x_positions=
start_x_game_window
round_trips=1
check_full_screen_round_trips 1920 1080 2 320 60
end_game_with_escape
echo "PASS"
