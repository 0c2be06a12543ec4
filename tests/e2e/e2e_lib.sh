# Shared by the end-to-end scripts: a scratch folder, clean-up, waiting, windows and keys.
# Sourced after `set -euo pipefail`; sets $work.

work=$(mktemp -d /tmp/porongo-e2e-XXXXXX)
server_pid=
wm_pid=
game_pid=

cleanup() {
  [[ -n "$game_pid" ]] && kill -9 "$game_pid" 2>/dev/null || true
  [[ -n "$wm_pid" ]] && kill "$wm_pid" 2>/dev/null || true
  [[ -n "$server_pid" ]] && kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -f "$work/shot.png" ]] && cp "$work/shot.png" /tmp/porongo-e2e-last-shot.png && echo "(last screenshot: /tmp/porongo-e2e-last-shot.png)" >&2
  [[ -f "$work/game.log" ]] && sed 's/^/game: /' "$work/game.log" >&2
  [[ -f "$work/xserver.log" ]] && tail -n 5 "$work/xserver.log" | sed 's/^/X server: /' >&2
  [[ -f "$work/desktop.log" ]] && tail -n 5 "$work/desktop.log" | sed 's/^/desktop: /' >&2
  exit 1
}

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1
  shift
  for ((i = 0; i < tenths; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

# Waits up to $1 seconds of real time, however long each try takes, for the command after it
# to succeed.
wait_up_to() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.1
  done
}

# Starts an X server (the command given, which must take -displayfd) and exports DISPLAY. It
# does not reset when its last client leaves: a reset drops the connections being made
# meanwhile (a window manager's, just after xdpyinfo's probe). The server picks the first
# display number without a lock file; another one started at the same moment, or a
# compositor's XWayland (which keeps no lock file), may take it first: the server then gives
# up, and is started again.
start_x_server() {
  for _ in 1 2 3 4 5; do
    rm -f "$work/display"  # a server started before in this run left its number there
    "$@" -noreset -displayfd 4 4>"$work/display" >"$work/xserver.log" 2>&1 &
    server_pid=$!
    if wait_for 200 server_answered_or_gone && [[ -s "$work/display" ]]; then
      export DISPLAY=":$(head -n1 "$work/display")"
      wait_for 50 xdpyinfo && return 0
    fi
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    sleep 0.$((RANDOM % 5 + 1))
  done
  return 1
}
server_answered_or_gone() { [[ -s "$work/display" ]] || ! kill -0 "$server_pid" 2>/dev/null; }

# Starts a window manager (the command after the name of its log, $work/<name>.log) on
# $DISPLAY and waits until it manages windows (once more if it gave up at once while the X
# server answers).
start_window_manager() {
  local log="$work/$1.log"
  shift
  for _ in 1 2 3; do
    "$@" >"$log" 2>&1 &
    wm_pid=$!
    wait_for 100 window_manager_starting && window_manager_running && return 0
    xdpyinfo >/dev/null 2>&1 || return 1
  done
  return 1
}
# openbox with its own default settings.
start_openbox() { XDG_CONFIG_HOME="$work/config" start_window_manager openbox openbox --sm-disable; }
# i3 with a minimal configuration of its own (no key bindings, and no bar unless the lines
# given, which are added to it, ask for one).
start_i3() {
  printf '%s\n' '# i3 config file (v4)' 'font pango:monospace 8' "$@" >"$work/i3.config"
  start_window_manager i3 i3 -c "$work/i3.config"
}
window_manager_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }
window_manager_starting() { window_manager_running || ! kill -0 "$wm_pid" 2>/dev/null; }

# The game's environment: no sound device needed, the data files in $work, and the X server
# started here whatever Qt platform the environment names.
prepare_game() {
  export SDL_AUDIODRIVER=dummy
  export QT_QPA_PLATFORM=xcb
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  cp "$1/bgm.mid" "$1/BLEEP04.WAV" "$work/"
}

# Starts the program in $work and waits for its main window; sets $game_pid and $window.
start_game() {
  (cd "$work" && exec "$1" >"$work/game.log" 2>&1) &
  game_pid=$!
  wait_for 100 find_window --onlyvisible --class PORONGO || fail "no visible window of class PORONGO"
  window=$(find_window --onlyvisible --class PORONGO)
}

# Waits up to five seconds for the game to end; sets $game_status.
wait_for_game_end() {
  for ((i = 0; i < 50; i++)); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && return 1
  game_status=0
  wait "$game_pid" || game_status=$?
  game_pid=
}

# The first window of a class or with a title, if there is one (the arguments of xdotool search).
find_window() { xdotool search "$@" 2>/dev/null | head -n1 | grep .; }

# A window's client area on the screen (its X window, inside the window manager's frame):
# sets X Y WIDTH HEIGHT. (xdotool's own answer counts the frame twice under a window manager.)
client_geometry() {
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "X=" $4} /Absolute upper-left Y/ {print "Y=" $4}
                                    /^ *Width:/ {print "WIDTH=" $2} /^ *Height:/ {print "HEIGHT=" $2}')"
}

# The frame the window manager says it draws around a window: sets FRAME_LEFT FRAME_RIGHT
# FRAME_TOP FRAME_BOTTOM; fails while it has said nothing.
frame_extents() {
  local extents
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = //p')
  [[ -n "$extents" ]] || return 1
  IFS=', ' read -r FRAME_LEFT FRAME_RIGHT FRAME_TOP FRAME_BOTTOM <<<"$extents"
}

# The whole window, frame included, as "x,y widthxheight" (what GetWindowRect describes).
window_rect() {
  client_geometry "$1" && frame_extents "$1" || return 1
  echo "$((X - FRAME_LEFT)),$((Y - FRAME_TOP)) $((WIDTH + FRAME_LEFT + FRAME_RIGHT))x$((HEIGHT + FRAME_TOP + FRAME_BOTTOM))"
}
window_rect_is() { [[ "$(window_rect "$1")" == "$2" ]]; }
client_is() {
  client_geometry "$1"
  [[ "$X,$Y ${WIDTH}x$HEIGHT" == "$2" ]]
}

# Whether the window manager has put the window in this state (_NET_WM_STATE_...).
in_state() { xprop -id "$1" _NET_WM_STATE | grep -q "_NET_WM_STATE_$2"; }

shoot() { import -window root "$work/shot.png"; }

# How many pixels of one colour (hex RRGGBB) the last screenshot has in a rectangle of the
# screen (x y width height).
pixels_of() {
  local x=$1 y=$2 w=$3 h=$4 colour=$5
  convert "$work/shot.png" -crop "${w}x${h}+$x+$y" +repage -format %c histogram:info:- |
    awk -v c="#${colour^^}" 'toupper($3) == c {sub(":", "", $1); s += $1} END {print s + 0}'
}

press() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --clearmodifiers "$@"
}

# Pixels of one colour (hex RRGGBB) in a rectangle (x y w h) of the main window's client
# area, which lies at $X,$Y under a menu bar $menu_bar pixels high.
count() { pixels_of $((X + $1)) $((Y + menu_bar + $2)) "$3" "$4" "$5"; }

expect_colour() {
  local what=$1 least=$2
  shift 2
  local n
  n=$(count "$@")
  ((n >= least)) || fail "$what: $n pixels of #$5 in ($1,$2 $3x$4), expected at least $least"
}

expect_no_colour() {
  local what=$1
  shift
  local n
  n=$(count "$@")
  ((n == 0)) || fail "$what: $n pixels of #$5 in ($1,$2 $3x$4), expected none"
}

# The name dialog that a result in first place brings up, by its caption.
name_dialog_title="あなたは1位です。"
name_dialog_open() { find_window --onlyvisible --name "$name_dialog_title"; }
name_dialog_closed() { ! name_dialog_open; }
# Answers that dialog once the game has ended: types a name and presses Enter, then waits for
# the dialog to close, which it does once the result is recorded and the file written.
enter_name() {
  wait_for 200 name_dialog_open || fail "no name dialog under the caption '$name_dialog_title' after the game ended"
  local dialog
  dialog=$(name_dialog_open)
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool type --delay 30 "$1"
  xdotool key Return
  wait_for 50 name_dialog_closed || fail "Enter did not close the name dialog"
}

# The About box that F1 opens: waiting for it, and closing it with Esc.
about_title="ﾊﾞｰｼﾞｮﾝ情報"
about_open() { find_window --onlyvisible --name "$about_title"; }
about_closed() { ! about_open; }
wait_for_about() { wait_for 50 about_open || fail "F1 opened no About box"; }
close_about() {
  local about
  about=$(about_open) || fail "no About box to close"
  xdotool windowfocus --sync "$about" 2>/dev/null || true
  xdotool key Escape
  wait_for 50 about_closed || fail "Esc did not close the About box"
}
