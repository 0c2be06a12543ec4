# Shared by the scripts that run the game under today's desktops: starting each compositor or
# window manager and waiting for it, pictures of an output or of a window, keys for X and
# Wayland windows, the checks of the game's frame on a picture, and the window-state round
# trips that every X desktop goes through. Sourced after e2e_lib.sh.

# --- the desktop's processes ----------------------------------------------------------------
# A desktop runs as a process group of its own, so that its bus, its XWayland and its helpers
# end with it. Its output goes to $work/desktop.log.
desktop_group=
desktop_runtime="$work/desktop-runtime"

start_desktop() {
  setsid "$@" >"$work/desktop.log" 2>&1 &
  desktop_group=$!
}
desktop_running() { kill -0 "$desktop_group" 2>/dev/null; }
desktop_gone() { ! kill -0 -- "-$desktop_group" 2>/dev/null; }

# Ends the game, then the desktop with everything it started.
stop_desktop() {
  if [[ -n "$game_pid" ]]; then
    kill -9 "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
    game_pid=
  fi
  [[ -n "$desktop_group" ]] || return 0
  kill -TERM -- "-$desktop_group" 2>/dev/null || true
  wait_up_to 3 desktop_gone || kill -KILL -- "-$desktop_group" 2>/dev/null || true
  desktop_group=
}
trap 'stop_desktop; cleanup' EXIT

# Exits with 77 (skipped) when a program the desktop needs is not installed.
require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

# Waits for a line of the desktop's log that matches an extended regular expression and
# prints what its group in parentheses matched; fails if the desktop ends first.
desktop_log_has() { grep -Eq "$1" "$work/desktop.log" || ! desktop_running; }
desktop_says() {
  wait_up_to 30 desktop_log_has "$1" && desktop_running || return 1
  sed -En "s/.*$1.*/\\1/p" "$work/desktop.log" | head -n1
}

# --- X11 desktops through XWayland ----------------------------------------------------------
# Each takes the output's width and height, sets DISPLAY (and XAUTHORITY where the server
# wants it) and returns once a window manager answers there.

# GNOME's compositor, headless with one virtual monitor, on a session bus of its own. It puts
# XWayland's socket where X servers do, in a folder that a booted system has.
start_mutter() {
  mkdir -p -m 700 "$desktop_runtime"
  [[ -d /tmp/.X11-unix ]] || mkdir -m 1777 /tmp/.X11-unix
  XDG_RUNTIME_DIR="$desktop_runtime" start_desktop dbus-run-session -- \
    mutter --headless --wayland --virtual-monitor "${1}x$2" --wayland-display=porongo-e2e
  DISPLAY=$(desktop_says 'Using public X11 display (:[0-9]+)') || return 1
  XAUTHORITY=$(find "$desktop_runtime" -maxdepth 1 -name '.mutter-Xwaylandauth.*' | head -n1)
  export DISPLAY XAUTHORITY
  wait_up_to 20 window_manager_running
}

# KDE's compositor on a virtual output. The installed program carries file capabilities that
# a container refuses to grant ("Operation not permitted"); a copy carries none (under the
# same name: KWin 6 finds its own Qt platform plugin by it). KWin starts the program it is
# given, in a session of its own, once XWayland is up, with DISPLAY set: that is how the
# display is learnt.
start_kwin() {
  mkdir -p -m 700 "$desktop_runtime"
  cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
  printf '#!/bin/sh\necho "$DISPLAY" >"%s/kwin-display"\n' "$work" >"$work/kwin-session"
  chmod +x "$work/kwin-session"
  XDG_RUNTIME_DIR="$desktop_runtime" start_desktop dbus-run-session -- \
    "$work/kwin_wayland" --virtual --xwayland --width "$1" --height "$2" --socket porongo-e2e \
    --no-lockscreen --no-global-shortcuts "$work/kwin-session"
  kwin_session_started() { [[ -s "$work/kwin-display" ]] || ! desktop_running; }
  wait_up_to 30 kwin_session_started && desktop_running || return 1
  DISPLAY=$(cat "$work/kwin-display")
  export DISPLAY
  wait_up_to 20 window_manager_running
}

# weston, headless and drawn by pixman, without its panel (a clock that changes the output's
# picture, and a launcher that weston 14 draws over a full-screen window). Its screenshooter
# reaches it at $weston_socket.
start_weston() {
  mkdir -p -m 700 "$desktop_runtime"
  weston_socket="$desktop_runtime/porongo-e2e"
  printf '[shell]\npanel-position=none\n' >"$work/weston.ini"
  XDG_RUNTIME_DIR="$desktop_runtime" start_desktop weston --config="$work/weston.ini" --backend=headless-backend.so \
    --xwayland --use-pixman --debug --width="$1" --height="$2" --socket=porongo-e2e
  DISPLAY=$(desktop_says 'xserver listening on display (:[0-9]+)') || return 1
  export DISPLAY
  wait_up_to 20 xdpyinfo
}

# i3 on the X server in $DISPLAY, its bar at the top in orange (#FF8000), a colour the game
# never shows; the game's window floats at its own size, as a fixed-size window should.
start_i3_desktop() {
  start_i3 'for_window [class="PORONGO"] floating enable' 'bar {' '  position top' '  colors {' \
    '    background #FF8000' '  }' '}'
}
i3_bar_shown() { shoot && (($(pixels_of 0 0 "$(screen_width)" 40 FF8000) > 1000)); }
screen_width() { xdpyinfo | sed -n 's/.*dimensions: *\([0-9]*\)x.*/\1/p'; }

# --- native Wayland: sway -------------------------------------------------------------------
# sway, headless and drawn by pixman, without XWayland. It refuses to run as root: a root test
# runs it as the unprivileged account "nobody", with a /dev/shm of its own for its buffers (a
# chroot's may be root's alone), in a runtime folder that account owns. The game and the tools
# run as whoever runs the test and reach sway by its socket's path (WAYLAND_DISPLAY). The
# game's main window floats at its own size, as a fixed-size window should.
start_sway() {
  mkdir -p -m 700 "$desktop_runtime"
  cat >"$work/sway.config" <<EOF
xwayland disable
output HEADLESS-1 mode ${1}x$2 bg #204060 solid_color
for_window [title="^ポロンゴ\$"] floating enable
EOF
  local -a as_user=()
  if ((EUID == 0)); then
    id nobody >/dev/null 2>&1 || { echo "SKIP: there is no account 'nobody' to run sway as"; exit 77; }
    unshare --mount --propagation unchanged true 2>/dev/null ||
      { echo "SKIP: no mount namespace here for sway's own /dev/shm"; exit 77; }
    chmod 711 "$work"
    chmod 644 "$work/sway.config"
    chown nobody "$desktop_runtime"
    as_user=(unshare --mount --propagation unchanged --
             sh -c 'mount --make-rprivate /dev && mount -t tmpfs -o mode=1777 sway-shm /dev/shm && exec "$@"' sh
             setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups)
  fi
  start_desktop "${as_user[@]}" env -i PATH="$PATH" HOME=/ XDG_RUNTIME_DIR="$desktop_runtime" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$work/sway.config"
  wait_up_to 30 sway_answers && desktop_running || return 1
  WAYLAND_DISPLAY=$(sway_socket)
  SWAYSOCK=$(find "$desktop_runtime" -maxdepth 1 -type s -name 'sway-ipc.*' | head -n1)
  export WAYLAND_DISPLAY SWAYSOCK
}
sway_socket() { find "$desktop_runtime" -maxdepth 1 -type s -name 'wayland-*' | head -n1 | grep .; }
# The game's window as sway has it: sets X Y WIDTH HEIGHT (its surface on the output) and
# SWAY_FULL_SCREEN (1 when full screen, else 0); fails while the program has no window.
sway_window() {
  local found
  found=$(swaymsg -t get_tree | jq -r --argjson pid "$game_pid" 'first(.. | objects | select(.pid? == $pid))
    | "\(.rect.x + .window_rect.x) \(.rect.y + .window_rect.y) \(.window_rect.width) \(.window_rect.height) \(.fullscreen_mode)"')
  [[ -n "$found" ]] && read -r X Y WIDTH HEIGHT SWAY_FULL_SCREEN <<<"$found"
}
sway_answers() { WAYLAND_DISPLAY=$(sway_socket) grim - >/dev/null || ! desktop_running; }

# --- pictures -------------------------------------------------------------------------------
# Each takes its picture into $work/shot.png, where fail() finds the last one.

# An X window's own picture (rootless XWayland has no picture of its root window).
shoot_window() { import -window "$1" "$work/shot.png"; }

# weston's own picture of its output.
shoot_weston() {
  mkdir -p "$work/shots"
  rm -f "$work/shots"/*.png
  (cd "$work/shots" && WAYLAND_DISPLAY="$weston_socket" weston-screenshooter >/dev/null 2>&1) || return 1
  mv "$work/shots"/*.png "$work/shot.png"
}

# A wlroots compositor's picture of its output.
shoot_wayland() { grim "$work/shot.png"; }

# --- keys -----------------------------------------------------------------------------------

# Keys (xdotool's names) for the game's X window through the X server's test extension, once
# the window manager has made it the active window.
press_x() {
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool key --clearmodifiers "$@"
}

# Keys sent to the game's X window itself, for a desktop with no keyboard to focus (weston's
# headless back end).
send_x() { xdotool key --window "$window" "$@" 2>/dev/null; }

# Keys for the focused Wayland window, named as xdotool names them (ctrl+F4, Escape). A new
# virtual keyboard's first key is lost to a Qt window unless it waits a moment first.
press_wayland() {
  local combination modifier
  local -a keys=(-s 300) part modifiers
  for combination in "$@"; do
    IFS=+ read -r -a part <<<"$combination"
    modifiers=("${part[@]:0:${#part[@]}-1}")
    for modifier in "${modifiers[@]}"; do keys+=(-M "$modifier"); done
    keys+=(-k "${part[-1]}")
    for modifier in "${modifiers[@]}"; do keys+=(-m "$modifier"); done
  done
  wtype "${keys[@]}"
}

# --- the game's frame on a picture ----------------------------------------------------------
# Once the first game is over the frame no longer changes: it is kept, one to one from the
# game's window in window mode, and looked for in later pictures. A check that fails says in
# $seen what it saw.

# A ranking that no result enters, so that the end of a game opens no name dialog.
write_unbeatable_ranking() {
  printf '[%d]\r\nName=Old%d\r\nBody=0\r\nScore=%d\r\n' 1 1 9999 2 2 9998 3 3 9997 4 4 9996 5 5 9995 \
    >"$work/Ranking.dat"
}

# The game is over (its red title over the board) in the frame at x,y of the last picture.
game_over_at() { (($(pixels_of $(($1 + 80)) $(($2 + 30)) 320 50 FF0000) > 300)); }

# Whether the game's frame, the 640x480 at x,y of the last picture, has stood still since the
# picture before; keeps it as the game's frame. Once the game is over it no longer changes.
frame_still_at() {
  convert "$work/shot.png" -alpha off -crop "640x480+$1+$2" +repage "$work/frame-now.miff"
  [[ -f "$work/frame.miff" && $(differing_pixels 0 "$work/frame.miff" "$work/frame-now.miff") == 0 ]] && return
  mv "$work/frame-now.miff" "$work/frame.miff"
  return 1
}

# How many pixels of the last picture outside the rectangle x y w h are not black. (One
# channel: ImageMagick 7 counts an alpha channel in the mean of a picture that has none.)
lit_outside() {
  convert "$work/shot.png" -alpha off -fill black -draw "rectangle $1,$2 $(($1 + $3 - 1)),$(($2 + $4 - 1))" \
    -fill white +opaque black -alpha off -colorspace gray -format '%[fx:round(mean*w*h)]' info:
}

# The smallest rectangle around the pixels of the last picture that are not black, WxH+X+Y.
lit_area() { box_of_lit_pixels "$work/shot.png"; }

# The smallest rectangle around the pixels of a picture that are not black, WxH+X+Y.
box_of_lit_pixels() {
  convert "$@" -alpha off -bordercolor black -border 1 -format '%@' info: 2>/dev/null |
    awk -F'[x+]' 'NF == 4 && $1 > 0 { printf "%dx%d+%d+%d", $1, $2, $3 - 1, $4 - 1; exit } { print "none"; exit }'
}

# How many pixels differ between two pictures of one size, colours within a tolerance alike.
differing_pixels() { compare -metric AE -fuzz "$1" "$2" "$3" null: 2>&1 || true; }

# The smallest rectangle around the pixels where two pictures of one size differ, WxH+X+Y.
differing_area() {
  box_of_lit_pixels "$1" "$2" -compose difference -composite -threshold 0
}

# Whether the last picture shows the game's frame one to one at x,y.
shows_frame_at() {
  convert "$work/shot.png" -alpha off -crop "640x480+$1+$2" +repage "$work/seen.miff"
  local differing
  differing=$(differing_pixels 0 "$work/seen.miff" "$work/frame.miff")
  [[ $differing == 0 ]] && return
  seen="$differing pixels of the 640x480 at $1,$2, within $(differing_area "$work/seen.miff" "$work/frame.miff")"
  seen+=" of it, differ from the game's frame"
  return 1
}

# Whether the last picture shows the game's frame scaled by a whole number with its corner at
# x,y and black everywhere else: each frame pixel a uniform block, of the frame's colour to
# within the rounding of a 16-bit mode.
shows_frame_scaled_at() {
  local x=$1 y=$2 scale=$3 w=$((640 * $3)) h=$((480 * $3)) outside blocks unlike
  convert "$work/shot.png" -alpha off -crop "${w}x$h+$x+$y" +repage -write "$work/seen.miff" \
    -sample 640x480! -write "$work/seen-small.miff" -sample "${w}x$h!" "$work/seen-blocks.miff"
  outside=$(lit_outside "$x" "$y" "$w" "$h")
  blocks=$(differing_pixels 0 "$work/seen.miff" "$work/seen-blocks.miff")
  unlike=$(differing_pixels 4% "$work/seen-small.miff" "$work/frame.miff")
  [[ $outside == 0 && $blocks == 0 && $unlike == 0 ]] && return
  seen="the lit area is $(lit_area); $outside pixels outside ${w}x$h+$x+$y are not black, $blocks there"
  seen+=" are not in uniform ${scale}x$scale blocks, $unlike blocks are unlike the game's frame"
  return 1
}

# How far the w x h at x,y of the last picture, scaled to 640x480, is from the game's frame
# (the root of the mean squared difference, 0 to 1).
distance_from_frame() {
  convert "$work/shot.png" -alpha off -crop "$3x$4+$1+$2" +repage -resize 640x480! "$work/seen.miff"
  compare -metric RMSE "$work/seen.miff" "$work/frame.miff" null: 2>&1 | sed -n 's/.*(\(.*\)).*/\1/p'
}
less_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a != "" && a < b) }'; }

# Whether the last picture shows the game's frame stretched over the rectangle x y w h.
shows_frame_stretched_at() {
  local distance
  distance=$(distance_from_frame "$@")
  seen="the ${3}x$4 at $1,$2 is at a distance of ${distance:-?} from the game's frame"
  less_than "$distance" 0.1
}

# Whether the last picture shows the game's frame scaled smoothly over the rectangle x y w h
# and black everywhere else (but for the pixel around it that a blend may light): close to the
# frame, and with far more colours than the frame has, where a blocky scaling adds none.
shows_frame_smooth_at() {
  local distance outside colours frame_colours
  distance=$(distance_from_frame "$@")
  outside=$(lit_outside $(($1 - 1)) $(($2 - 1)) $(($3 + 2)) $(($4 + 2)))
  colours=$(convert "$work/shot.png" -alpha off -crop "$3x$4+$1+$2" +repage -format %k info:)
  frame_colours=$(convert "$work/frame.miff" -format %k info:)
  [[ $outside == 0 ]] && less_than "$distance" 0.05 && ((colours > 2 * frame_colours)) && return
  seen="the lit area is $(lit_area); $outside pixels around ${3}x$4+$1+$2 are not black; there the"
  seen+=" picture is at a distance of ${distance:-?} from the game's frame and has $colours colours, the frame $frame_colours"
  return 1
}

# --- the game's window on an X desktop ------------------------------------------------------
# What differs between desktops, set by the scripts:
# - $key_sender, how keys reach the game: press_x, or send_x where the desktop has no
#   keyboard to focus (and no pointer: $pointer is then empty);
# - $shoot_output, the picture that full screen is judged on: the output's where the desktop
#   can take one, else the window's own, which then covers the output;
# - $x_positions, empty where the window manager does not keep the X window where it shows it
#   (weston): there the output's picture, not X, says where the window is;
# - $window_mode_picture, how window mode looks: the frame one to one in the window, the frame
#   stretched over a tile, or the output's picture as it was before full screen;
# - $full_screen_picture, how full screen looks on the output's picture: the frame scaled by a
#   whole number, black around it.
key_sender=press_x
pointer=yes
shoot_output=shoot_game_window
full_screen_picture=shows_frame_scaled_at
x_positions=yes
window_mode_picture=window_shows_frame

keys() { "$key_sender" "$@"; }
shoot_game_window() { shoot_window "$window"; }

window_states() { xprop -id "$window" _NET_WM_STATE | sed 's/.*= *//; s/_NET_WM_STATE_//g'; }
# The states that say where the window manager holds the window, without the focus.
held_states() { window_states | tr -d ' ' | tr ',' '\n' | { grep -v -e '^FOCUSED$' -e '^$' || true; } | sort | tr '\n' ' '; }
# The window's client area and states, for the messages of failures.
window_now() {
  client_geometry "$window"
  echo "$X,$Y ${WIDTH}x$HEIGHT ($(window_states))"
}

# The window's rectangle with the window manager's frame where it says how large that is, else
# its client area.
window_place() {
  window_rect "$window" 2>/dev/null && return
  client_geometry "$window" && echo "$X,$Y ${WIDTH}x$HEIGHT"
}

# Whether the game still runs, for the messages of failures.
game_liveness() {
  if kill -0 "$game_pid" 2>/dev/null; then echo "the program runs"; return; fi
  local status=0
  wait "$game_pid" 2>/dev/null || status=$?
  game_pid=
  echo "the program has ended with status $status"
}

window_shows_frame() { shoot_window "$window" && shows_frame_at 0 "$menu_bar"; }
game_over_in_window() { shoot_window "$window" && game_over_at 0 "$menu_bar" && frame_still_at 0 "$menu_bar"; }

# Starts the game, notes where its window is ($normal) and how high its menu bar is
# ($menu_bar), and keeps its frame once the first game is over and its frame stands still.
start_x_game_window() {
  start_game "$program"
  wait_up_to 2 frame_extents "$window" || true  # not every window manager publishes its frame
  normal=$(window_place)
  normal_states=$(held_states)
  client_geometry "$window"
  menu_bar=$((HEIGHT - 480))
  [[ $WIDTH == 640 ]] && ((menu_bar > 0 && menu_bar < 60)) ||
    fail "the window starts with a ${WIDTH}x$HEIGHT client area, not 640x480 under a menu bar"
  wait_up_to 30 game_over_in_window || fail "the first game did not end within 30 seconds ($(game_liveness))"
}

# Keeps the output's picture as it is now, and compares later ones with it.
keep_output_picture() { "$shoot_output" && cp "$work/shot.png" "$work/kept-output.png"; }
output_as_kept() {
  "$shoot_output" || return 1
  local differing
  differing=$(differing_pixels 0 "$work/shot.png" "$work/kept-output.png")
  [[ $differing == 0 ]] && return
  seen="$differing pixels of the output, within $(differing_area "$work/shot.png" "$work/kept-output.png"), differ"
  seen+=" from its picture before full screen"
  return 1
}

# Back as the window was in window mode: in the states it had then (none, or maximised where
# the window manager says so of a tiled window, as i3 4.24 does) and, where X positions count,
# in its place.
in_window_mode() {
  [[ "$(held_states)" == "$normal_states" ]] && [[ -z "$x_positions" || "$(window_place)" == "$normal" ]]
}
expect_window_mode() {
  wait_up_to 10 in_window_mode ||
    fail "$1: the window is at $(window_place) ($(held_states)), not $normal ($normal_states)"
  wait_up_to 10 "$window_mode_picture" || fail "$1: $seen"
}

maximised() { in_state "$window" MAXIMIZED_VERT && in_state "$window" MAXIMIZED_HORZ; }
window_shows_frame_stretched() {
  client_geometry "$window"
  ((WIDTH > 640 && HEIGHT > 480 + menu_bar)) || { seen="the client area stays ${WIDTH}x$HEIGHT"; return 1; }
  shoot_window "$window" && shows_frame_stretched_at 0 "$menu_bar" "$WIDTH" $((HEIGHT - menu_bar))
}

# The actions the window manager offers for the window (_NET_WM_ACTION_...).
window_actions() { xprop -id "$window" _NET_WM_ALLOWED_ACTIONS | sed 's/.*= *//; s/_NET_WM_ACTION_//g'; }

# The window manager offers maximise, and its maximise (what its title bar's button asks for)
# stretches the frame over the window; restoring gives the window back. (KWin offers maximise
# only to a window it may resize; mutter offers resize whatever the Motif hints say: whether
# the border resizes is no check here.)
check_maximise_and_restore() {
  local actions
  actions=$(window_actions)
  [[ $actions == *MAXIMIZE_HORZ* && $actions == *MAXIMIZE_VERT* ]] ||
    fail "the window manager offers no maximise, only $actions"
  wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
  wait_up_to 10 maximised || fail "wmctrl did not maximise the window ($(window_states))"
  wait_up_to 10 window_shows_frame_stretched || fail "maximised: $seen"
  wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
  expect_window_mode "restored"
}

# The X screen's size and its outputs' current modes.
screen_mode() { xrandr --current | grep -E '^Screen|\*'; }

# Full screen and back, $round_trips times: the window covers the output, width x height, full
# screen to the window manager; the output shows the frame scaled by a whole number with its
# corner at x,y; F4 gives window mode back; the screen's mode never changes.
round_trips=2
check_full_screen_round_trips() {
  local width=$1 height=$2 scale=$3 x=$4 y=$5 mode trip
  mode=$(screen_mode)
  full_screen() {
    in_state "$window" FULLSCREEN && client_geometry "$window" && [[ "${WIDTH}x$HEIGHT" == "${width}x$height" ]] &&
      [[ -z "$x_positions" || "$X,$Y" == 0,0 ]]
  }
  shows_full_screen() { "$shoot_output" && "$full_screen_picture" "$x" "$y" "$scale"; }
  # The menu bar comes down while the pointer is at the top edge: keep it in the middle.
  [[ -z "$pointer" ]] || xdotool mousemove $((width / 2)) $((height / 2)) || fail "xdotool could not move the pointer"
  for ((trip = 1; trip <= round_trips; trip++)); do
    keys ctrl+F4
    wait_up_to 10 full_screen || fail "Ctrl+F4 ($trip): the window is at $(window_now)"
    wait_up_to 10 shows_full_screen || fail "full screen ($trip): $seen"
    [[ "$(screen_mode)" == "$mode" ]] || fail "full screen ($trip) changed the screen's mode: $(screen_mode)"
    keys F4
    expect_window_mode "F4 ($trip)"
    [[ "$(screen_mode)" == "$mode" ]] || fail "back from full screen ($trip) the screen's mode is $(screen_mode)"
  done
}

end_game_with_escape() {
  keys Escape || true  # the window may be gone before the key is released
  wait_for_game_end || fail "Esc did not end the program"
  [[ $game_status == 0 ]] || fail "exit code $game_status"
}
