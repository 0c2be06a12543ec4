# Shared by the end-to-end scripts: a scratch folder, clean-up, waiting, windows and keys.
# Sourced after `set -euo pipefail`; sets $work.

work=$(mktemp -d /tmp/porongo-e2e-XXXXXX)
server_pid=
game_pid=

cleanup() {
  [[ -n "$game_pid" ]] && kill -9 "$game_pid" 2>/dev/null || true
  [[ -n "$server_pid" ]] && kill "$server_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -f "$work/shot.png" ]] && cp "$work/shot.png" /tmp/porongo-e2e-last-shot.png && echo "(last screenshot: /tmp/porongo-e2e-last-shot.png)" >&2
  [[ -f "$work/game.log" ]] && sed 's/^/game: /' "$work/game.log" >&2
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

# Starts an X server (the command given, which must take -displayfd) and exports DISPLAY.
start_x_server() {
  "$@" -displayfd 4 4>"$work/display" >"$work/xserver.log" 2>&1 &
  server_pid=$!
  wait_for 200 test -s "$work/display" || return 1
  export DISPLAY=":$(head -n1 "$work/display")"
  wait_for 50 xdpyinfo
}

# The game's environment: no sound device needed, the data files in $work.
prepare_game() {
  export SDL_AUDIODRIVER=dummy
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

press() {
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool key --clearmodifiers "$@"
}

# Screenshots of the whole screen, and colours counted in the main window's client area,
# which lies at $X,$Y (the window's geometry) under a menu bar $menu_bar pixels high.
shoot() { import -window root "$work/shot.png"; }

# Pixels of one colour (hex RRGGBB) in a rectangle of the client area (x y w h).
count() {
  local x=$1 y=$2 w=$3 h=$4 colour=$5
  convert "$work/shot.png" -crop "${w}x${h}+$((X + x))+$((Y + menu_bar + y))" +repage -format %c histogram:info:- |
    awk -v c="#${colour^^}" 'toupper($3) == c {sub(":", "", $1); s += $1} END {print s + 0}'
}

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
