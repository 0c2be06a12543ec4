#!/usr/bin/env bash
# End to end under a window manager, as players run the game: openbox on Xvfb.
#   desktop_window.sh <program> <data directory>
# The window starts where the window manager puts it, caption on the screen; the name
# dialog's client area begins exactly where the main window's does; the maximise button, a
# double click on the caption and wmctrl maximise the window, the frame stretched over it,
# and restoring gives back the window's rectangle and a 640x480 client one to one (also after
# full screen entered from the maximised window, which comes back maximised); dragging
# the border does not resize it; full screen covers the output, which keeps its mode, with the
# frame twice its size in the middle, crisp, black around it, and back restores the exact
# rectangle, three times in a row and once without pausing; at a device-pixel ratio of 2
# every pixel of the frame is a uniform 2x2 block.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"

start_x_server Xvfb -screen 0 1600x1200x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
start_openbox || fail "openbox did not start: $(cat "$work/openbox.log")"
prepare_game "$data"
# Every stored score is negative, so that the game over asks for a name.
printf '[%d]\r\nName=Old%d\r\nBody=0\r\nScore=-%d\r\n' 1 1 1 2 2 2 3 3 3 4 4 4 5 5 5 >"$work/Ranking.dat"

start_game "$program"
wait_for 50 frame_extents "$window" || fail "openbox drew no frame around the window"

# --- the start: placed by the window manager, caption on the screen ------------------------
normal=$(window_rect "$window")
read -r corner size <<<"$normal"
left=${corner%,*} top=${corner#*,} width=${size%x*} height=${size#*x}
((left >= 0 && top >= 0)) || fail "the window's frame begins at $corner: its caption is off the screen"
client_geometry "$window"
menu_bar=$((HEIGHT - 480))
[[ $WIDTH == 640 ]] && ((menu_bar > 0 && menu_bar < 60)) || fail "client ${WIDTH}x$HEIGHT: no 640x480 under a menu bar"
client_origin="$X,$((Y + menu_bar))"

# The frame one to one in the client area at ($1, $2): the board's last column and the black
# panel's first meet without a blend.
one_to_one() {
  shoot
  (($(pixels_of $(($1 + 479)) $(($2 + 100)) 1 300 000000) <= 8)) &&
    (($(pixels_of $(($1 + 480)) $(($2 + 100)) 1 300 000000) > 250))
}
# The frame stretched over the client area at ($1, $2), $3 by $4: that edge where 480 of 640
# columns are.
stretched() {
  local edge=$((480 * $3 / 640)) rows=$(($4 * 3 / 5))
  shoot
  (($(pixels_of $(($1 + edge - 4)) $(($2 + $4 / 5)) 1 $rows 000000) <= 8)) &&
    (($(pixels_of $(($1 + edge + 3)) $(($2 + $4 / 5)) 1 $rows 000000) > rows * 5 / 6))
}
client_one_to_one() {
  client_geometry "$window"
  [[ "$X,$((Y + menu_bar)) ${WIDTH}x$((HEIGHT - menu_bar))" == "$client_origin 640x480" ]] &&
    one_to_one "$X" $((Y + menu_bar))
}
# Every pixel of the part of the last screenshot at ($1, $2), $3 by $4, a uniform 2x2 block;
# sets $differing.
uniform_blocks() {
  convert "$work/shot.png" -crop "$3x$4+$1+$2" +repage "$work/client.png"
  convert "$work/client.png" -sample 50% -sample 200% "$work/blocks.png"
  differing=$(compare -metric AE "$work/client.png" "$work/blocks.png" null: 2>&1 || true)
  [[ "$differing" == 0 ]]
}
# Full screen on the 1600x1200 output, whose mode stays: the window covers it, and the frame
# is shown twice its size at (160,120), black around it.
presented_full_screen() {
  [[ "$(xrandr --current | sed -n 's/.* current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p')" == 1600x1200 ]] &&
    client_is "$window" "0,0 1600x1200" && in_state "$window" FULLSCREEN || return 1
  shoot
  uniform_blocks 160 120 1280 960 && (($(pixels_of 160 120 960 960 A0A0A4) > 10000)) &&
    (($(pixels_of 0 0 1600 120 000000) == 1600 * 120)) && (($(pixels_of 0 1080 1600 120 000000) == 1600 * 120)) &&
    (($(pixels_of 0 120 160 960 000000) == 160 * 960)) && (($(pixels_of 1440 120 160 960 000000) == 160 * 960))
}
client_stretched() {
  client_geometry "$window"
  ((WIDTH > 640 && HEIGHT - menu_bar > 480)) && stretched "$X" $((Y + menu_bar)) "$WIDTH" $((HEIGHT - menu_bar))
}
wait_for 50 client_one_to_one || fail "at the start the frame is not shown one to one"

# --- the name dialog: its client area begins where the main window's does -----------------
wait_for 200 name_dialog_open || fail "no name dialog after the game ended"
dialog=$(name_dialog_open)
wait_for 50 frame_extents "$dialog" || fail "openbox drew no frame around the name dialog"
client_geometry "$dialog"
[[ "$X,$Y" == "$client_origin" ]] || fail "the name dialog's client area begins at $X,$Y, the main window's at $client_origin"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key Return
wait_for 50 name_dialog_closed || fail "Enter did not close the name dialog"

# --- maximising, three ways, and back -------------------------------------------------------
maximised() { in_state "$window" MAXIMIZED_VERT && in_state "$window" MAXIMIZED_HORZ; }
restored() { ! in_state "$window" MAXIMIZED_VERT && window_rect_is "$window" "$normal"; }
expect_maximised() {
  wait_for 50 maximised || fail "$1 did not maximise the window"
  wait_for 50 client_stretched || fail "maximised by $1, the client area is ${WIDTH}x$((HEIGHT - menu_bar)) with the frame not stretched over it"
}
expect_restored() {
  wait_for 50 restored || fail "$1: the window is $(window_rect "$window"), not $normal"
  wait_for 50 client_one_to_one || fail "$1: the frame is not shown one to one"
}
# openbox's buttons sit at the right of the title bar: maximise 27 pixels from the frame's edge.
xdotool mousemove $((left + width - 27)) $((top + 10)) click 1
expect_maximised "the maximise button"
xdotool mousemove 1573 10 click 1
expect_restored "the maximise button again"
xdotool mousemove $((left + width / 2)) $((top + 10)) click --repeat 2 --delay 80 1
expect_maximised "a double click on the caption"
xdotool mousemove 800 9 click --repeat 2 --delay 80 1
expect_restored "a double click on the maximised caption"
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
expect_maximised "wmctrl"
wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
expect_restored "wmctrl's restore"
# Full screen from a maximised window comes back maximised, as on Windows, and still
# restores to the normal rectangle.
wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
expect_maximised "wmctrl (before full screen)"
press ctrl+F4
wait_for 50 presented_full_screen || fail "full screen from maximised: the window is at $X,$Y, ${WIDTH}x$HEIGHT, and $differing pixels of the frame differ from their 2x2 block"
press F4
expect_maximised "leaving full screen entered from maximised"
wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
expect_restored "restoring after full screen entered from maximised"

# --- the border does not resize the window --------------------------------------------------
corner_x=$((left + width - 2)) corner_y=$((top + height - 2))
xdotool mousemove $corner_x $corner_y mousedown 1 mousemove $((corner_x + 40)) $((corner_y + 30)) sleep 0.2 \
  mousemove $((corner_x + 150)) $((corner_y + 100)) sleep 0.2 mouseup 1
sleep 0.5  # nothing is to happen: a short look for a change
window_rect_is "$window" "$normal" || fail "dragging the border made the window $(window_rect "$window")"

# --- full screen and back: the same rectangle every time ------------------------------------
for trip in 1 2 3; do
  press ctrl+F4
  wait_for 50 presented_full_screen || fail "full screen $trip: the window is at $X,$Y, ${WIDTH}x$HEIGHT, and $differing pixels of the frame differ from their 2x2 block"
  press F4
  expect_restored "full screen $trip and back"
done
# Without waiting for either switch; the About box opens once both are done.
press ctrl+F4 F4 F1
wait_for_about
window_rect_is "$window" "$normal" || fail "full screen and straight back: the window is $(window_rect "$window"), not $normal"
close_about

press Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"

# --- scale 2: each pixel of the frame a uniform 2x2 block -----------------------------------
export QT_SCALE_FACTOR=2
start_game "$program"
client_geometry "$window"
scaled_bar=$((HEIGHT - 960))
[[ $WIDTH == 1280 ]] && ((scaled_bar > 0)) || fail "at scale 2 the client is ${WIDTH}x$HEIGHT, not 1280x960 under a menu bar"
scaled_crisp() {
  shoot
  # The board is on the screen (not a blank client area), and every block is uniform.
  (($(pixels_of $X $((Y + scaled_bar)) 960 960 A0A0A4) > 10000)) && uniform_blocks $X $((Y + scaled_bar)) 1280 960
}
wait_for 50 scaled_crisp || fail "at scale 2, $differing pixels of the frame differ from the rest of their 2x2 block"
echo "PASS"
