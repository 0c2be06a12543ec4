#!/usr/bin/env bash
# End to end under weston (headless, drawn by pixman) on a 1920x1080 output, the game an X11
# client of its XWayland.
#   desktop_weston.sh <program> <data directory>
# Full screen shows the frame at twice its size at 320,60 with black around it, in the
# compositor's own picture of its output; F4 gives back the window with the frame one to one in
# it. Where the window comes back is weston's to say, and once only: weston 10's X window
# manager puts any window that leaves full screen (an xmessage as well) back a frame's size up
# and left of where it was, so that after a few round trips it leaves the output, and keeps no
# X position to check it by. weston 14 puts a new window at a random place of the output (now
# and then it leaves it where X has it), and it leaves a full-screen X window that it has placed
# there where it was, reaching past the output's edges (an xmessage as well): the output then
# shows the full-screen picture from the window's corner on.
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
full_screen_picture=weston_shows_full_screen
# Where X has the full-screen window (weston shows it there): at the output's corner, the frame
# scaled at x,y with black around it; elsewhere, the same picture from the window's corner on.
weston_shows_full_screen() {
  client_geometry "$window"
  [[ "$X,$Y" == 0,0 ]] && { shows_frame_scaled_at "$@"; return; }
  local w=$((WIDTH - X)) h=$((HEIGHT - Y)) differing
  convert -size "${WIDTH}x$HEIGHT" xc:black \( "$work/frame.miff" -sample "$((640 * $3))x$((480 * $3))!" \) \
    -geometry "+$((X + $1))+$((Y + $2))" -composite -crop "${w}x$h+$X+$Y" +repage "$work/expected.miff"
  convert "$work/shot.png" -alpha off -crop "${w}x$h+$X+$Y" +repage "$work/seen.miff"
  differing=$(differing_pixels 4% "$work/seen.miff" "$work/expected.miff")
  [[ $differing == 0 ]] && return
  seen="weston shows the full-screen window from $X,$Y on; there $differing pixels, within"
  seen+=" $(differing_area "$work/seen.miff" "$work/expected.miff") of the part shown, differ from the full-screen picture"
  return 1
}
x_positions=
start_x_game_window
round_trips=1
check_full_screen_round_trips 1920 1080 2 320 60
end_game_with_escape
echo "PASS"
