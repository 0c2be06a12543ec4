#!/usr/bin/env bash
# End to end under a Wayland desktop on a 1920x1080 output, the game an X11 client of its
# XWayland: GNOME's mutter, headless with one virtual monitor, or KDE's KWin on a virtual
# output.
#   desktop_xwayland.sh <program> <data directory> gnome|kde
# The window manager offers maximise, which stretches the frame over the window, and
# restoring gives the window back; full screen shows the frame at twice its size, centred,
# black around it, without changing the output's mode, and F4 gives back the exact window,
# twice in a row.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/desktop_lib.sh"

case "$3" in
  gnome)
    require_tools dbus-run-session mutter Xwayland
    start_mutter 1920 1080 || fail "mutter did not start: $(tail -n 3 "$work/desktop.log")"
    ;;
  kde)
    require_tools dbus-run-session kwin_wayland Xwayland
    start_kwin 1920 1080 || fail "KWin did not start: $(tail -n 3 "$work/desktop.log")"
    ;;
  *) fail "no desktop named '$3': gnome or kde" ;;
esac
prepare_game "$data"
write_unbeatable_ranking
start_x_game_window
check_maximise_and_restore
check_full_screen_round_trips 1920 1080 2 320 60
end_game_with_escape
echo "PASS"
