#!/usr/bin/env bash
# What full screen costs: the CPU time of the game at its fastest tick (10 ms) plus that of its
# display server, in window mode and in full screen on a 1920x1080 output (openbox on Xvfb),
# where the 640x480 frame is shown twice its size.
#   bench/full_screen/full_screen_cpu.sh <full_screen_load program> [seconds]
# Prints the share of one core that each takes, and the ratio of full screen to window mode.
set -euo pipefail

load=$(readlink -f "$1")
seconds=${2:-10}
source "$(dirname "$0")/../../tests/e2e/e2e_lib.sh"

start_x_server Xvfb -screen 0 1920x1080x24 -nolisten tcp || fail "Xvfb did not start"
start_openbox || fail "openbox did not start"
export SDL_AUDIODRIVER=dummy QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
# No score enters this table, so no name dialog stops the game.
printf '[%d]\r\nName=Best\r\nBody=900\r\nScore=99999\r\n' 1 2 3 4 5 >"$work/Ranking.dat"

ticks_per_second=$(getconf CLK_TCK)
# User and system time of a process so far, in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Runs the load in one mode; prints "<program %> <server %>".
measure() {
  (cd "$work" && exec "$load" "$1" >"$work/load.log" 2>&1) &
  game_pid=$!
  sleep 3  # started, and settled in its mode
  local game0 server0 game1 server1
  game0=$(cpu_ticks "$game_pid") server0=$(cpu_ticks "$server_pid")
  sleep "$seconds"
  game1=$(cpu_ticks "$game_pid") server1=$(cpu_ticks "$server_pid")
  kill "$game_pid"
  wait "$game_pid" 2>/dev/null || true
  game_pid=
  awk -v g=$((game1 - game0)) -v s=$((server1 - server0)) -v t="$ticks_per_second" -v n="$seconds" \
    'BEGIN {printf "%.1f %.1f\n", 100 * g / (t * n), 100 * s / (t * n)}'
}

read -r window_game window_server <<<"$(measure window)"
read -r full_game full_server <<<"$(measure full)"
awk -v wg="$window_game" -v ws="$window_server" -v fg="$full_game" -v fs="$full_server" 'BEGIN {
  printf "%-12s %8s %8s %8s\n", "mode", "program", "server", "sum"
  printf "%-12s %7.1f%% %7.1f%% %7.1f%%\n", "window", wg, ws, wg + ws
  printf "%-12s %7.1f%% %7.1f%% %7.1f%%\n", "full screen", fg, fs, fg + fs
  printf "full screen / window: %.2f\n", (fg + fs) / (wg + ws)
}'
