#!/usr/bin/env bash
# End to end: the real program's sound through a real sound server. The test starts PipeWire
# with wireplumber and its PulseAudio server (pipewire-pulse) on a session bus of its own,
# makes a null sink the default output and records what reaches it with parec.
#   sound_server_restart.sh <program> <data directory>
# The music is heard. The server is stopped and started again while the game runs, as an
# update does: the music is heard again within 3 s of the server being back, then a pickup
# sound; a new default output takes the music along; the program said once that the sound
# was lost and once that it is back, and holds as many threads and files as before. A game
# started with no server gets its music within 3 s of one appearing.
# Exits 77 (skipped) when PipeWire cannot run here.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"
# With a time limit: xdotool's search can wait for ever while one program's windows go and
# another's come.
find_window() { timeout 5 xdotool search "$@" 2>/dev/null | head -n1 | grep .; }

for tool in pipewire wireplumber pipewire-pulse pactl parec dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

start_x_server Xvfb -screen 0 1024x768x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
prepare_game "$data"
# The sound goes wherever the sound server sends it; nothing here may point it elsewhere.
unset SDL_AUDIODRIVER AUDIODEV PULSE_SERVER PULSE_SINK
export XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
# Every result in the table beats any game played here, so no game over asks for a name.
printf '[%d]\r\nName=Best%d\r\nBody=0\r\nScore=9999%d\r\n' 1 1 9 2 2 8 3 3 7 4 4 6 5 5 5 >"$work/Ranking.dat"

# --- the session bus and the sound server ------------------------------------------------------
bus_pid=
sound_pids=()
recorder_pid=
# Whether the processes given, this script's children, have all ended (each stays a zombie
# until waited for).
ended() {
  local pid
  for pid in "$@"; do
    [[ ! -e /proc/$pid || "$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null)" == Z ]] || return 1
  done
}
# Sends processes a signal ($1) and waits for them; those still there 5 s later are killed.
stop_processes() {
  local signal=$1
  shift
  kill "-$signal" "$@" 2>/dev/null || true
  wait_for 50 ended "$@" || kill -KILL "$@" 2>/dev/null || true
  wait "$@" 2>/dev/null || true
}
# Stops all three, as `systemctl --user restart pipewire` or an update does.
stop_sound_server() {
  ((${#sound_pids[@]})) || return 0
  stop_processes TERM "${sound_pids[@]}"
  sound_pids=()
}
# The server's command-line client with a time limit, in case the server stops answering
# (timeout runs the program, not this function).
pactl() { timeout 10 pactl "$@"; }
trap '[[ -n "$recorder_pid" ]] && kill "$recorder_pid" 2>/dev/null; stop_sound_server
      [[ -n "$bus_pid" ]] && kill "$bus_pid" 2>/dev/null; cleanup' EXIT

dbus-daemon --session --nofork --address="unix:path=$work/bus" --print-address=3 3>"$work/bus-address" \
  >"$work/dbus.log" 2>&1 &
bus_pid=$!
wait_for 50 test -s "$work/bus-address" || { echo "SKIP: no session bus: $(cat "$work/dbus.log")"; exit 77; }
DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$work/bus-address")
export DBUS_SESSION_BUS_ADDRESS

sink=porongo_e2e
sink_exists() { pactl list short sinks | awk -v name="$1" '$2 == name { found = 1 } END { exit !found }'; }
# A server that has only just started can still refuse modules ("Not supported").
load_sink() { sink_exists "$1" || pactl load-module module-null-sink sink_name="$1" >/dev/null 2>&1 && sink_exists "$1"; }
make_default() { pactl set-default-sink "$1" && [[ "$(pactl get-default-sink)" == "$1" ]]; }
# Makes a new null sink ($1) the default output.
add_default_sink() { wait_for 50 load_sink "$1" && wait_for 50 make_default "$1"; }

# Starts PipeWire, wireplumber and pipewire-pulse, with the test's null sink as the default
# output; the server is back when this returns.
start_sound_server() {
  pipewire >>"$work/pipewire.log" 2>&1 &
  sound_pids=($!)
  wait_for 50 test -S "$XDG_RUNTIME_DIR/pipewire-0" || return 1
  wireplumber >>"$work/wireplumber.log" 2>&1 &
  sound_pids+=($!)
  pipewire-pulse >>"$work/pipewire-pulse.log" 2>&1 &
  sound_pids+=($!)
  wait_for 50 pactl info && add_default_sink "$sink"
}
server_log() { tail -n 3 "$work/pipewire.log" "$work/wireplumber.log" "$work/pipewire-pulse.log" 2>/dev/null; }

# --- recording and listening -------------------------------------------------------------------
# Records what reaches a sink ($2, by default the test's) into $1 until stop_recording.
start_recording() {
  parec --latency-msec=20 -d "${2:-$sink}.monitor" --raw --format=s16le --rate=44100 --channels=2 >"$1" &
  recorder_pid=$!
}
stop_recording() {
  stop_processes INT "$recorder_pid"
  recorder_pid=
}
# Records $2 seconds into $1 (of the sink $3, by default the test's).
record() {
  start_recording "$1" "${3:-}"
  sleep "$2"
  stop_recording
}

# A recording's level in tenths of a second, one line each: the RMS and the peak, as
# fractions of full scale.
levels() {
  od -An -v -td2 -w4 "$1" | awk '
    { s += $1 * $1 + $2 * $2
      for (i = 1; i <= 2; i++) { a = $i < 0 ? -$i : $i; if (a > p) p = a }
      if (++n == 4410) { printf "%.4f %.4f\n", sqrt(s / 2 / n) / 32768, p / 32768; s = p = n = 0 } }'
}
# Music is heard in a tenth whose RMS is above this; the mix of silence is all zeros.
heard=0.005
# The pickup sound peaks at 0.7 of full scale, the music at 0.32: a peak above this is the
# pickup sound.
bleep=0.5
# When (in seconds from the start) the music is first heard in a recording, or "never".
first_heard() { levels "$1" | awk -v f=$heard '$1 > f { print (NR - 1) / 10; found = 1; exit } END { if (!found) print "never" }'; }
# The RMS over the tenths in which anything is heard.
loudness() { levels "$1" | awk -v f=$heard '$1 > f { s += $1 * $1; n++ } END { printf "%.4f\n", n ? sqrt(s / n) : 0 }'; }
loudest() { levels "$1" | awk '$2 > p { p = $2 } END { printf "%.4f\n", p + 0 }'; }
# Whether a time from first_heard is at most $2 seconds; whether a level is above $2.
within() { [[ "$1" != never ]] && awk -v t="$1" -v most="$2" 'BEGIN { exit !(t <= most) }'; }
above() { awk -v level="$1" -v least="$2" 'BEGIN { exit !(level > least) }'; }

# --- the game on the screen --------------------------------------------------------------------
# The board's cells (x y, one a line) that hold at least $2 pixels of colour $1 (hex) in the
# last screenshot.
cells_of() {
  convert "$work/shot.png" -crop "480x480+$X+$((Y + menu_bar))" +repage -fill black -opaque white \
    -fill white -opaque "#$1" -fill black +opaque white -scale 30x30 -depth 8 txt:- |
    awk -F'[,: ()]+' -v least="$2" 'NR > 1 && $3 * 256 / 255 >= least { print $1, $2 }'
}
# A key for the game. The focus is given with a time limit: a window that is just being
# shown can miss it, and windowfocus --sync would then wait for ever.
key() {
  timeout 5 xdotool windowfocus --sync "$window" >/dev/null 2>&1 || true
  xdotool key --clearmodifiers "$@"
}
game_is_over() { shoot && (($(count 80 30 400 60 FF0000) >= 50)); }
# Ends the game that is being played, if one is: the snake, which goes down the left column,
# is turned into the left edge.
end_game() {
  local attempt
  for attempt in 1 2 3; do
    key Left
    wait_for 30 game_is_over && return 0
  done
  fail "the game did not end"
}
# Starts a new game whose snake meets no roamer on its way down the left column; with
# "pickup", one that meets a pickup there too. Returns while the game is played.
fresh_game() {
  local attempt head
  for ((attempt = 0; attempt < 40; attempt++)); do
    end_game
    key space
    sleep 0.6 # the first step of a new game scatters the pickups again
    shoot
    head=$(cells_of B51934 30 | awk '$1 == 0 { print $2; exit }')
    [[ -n "$head" ]] || continue
    [[ -z "$(cells_of 000000 35 | awk -v h="$head" '$1 <= 2 && $2 > h')" ]] || continue
    if [[ "${1:-}" == pickup ]]; then
      [[ -n "$({ cells_of 005818 60; cells_of 000060 60; cells_of 805000 60; } |
        awk -v h="$head" '$1 == 0 && $2 > h + 2')" ]] || continue
    fi
    return 0
  done
  fail "no new game with a clear way down the left column in $attempt tries"
}

# Starts the sound server while the game stands paused (its snake might not outlast a slow
# start), waits for the program's stream to come back by itself, then plays on; records into
# $1 from the moment the server is back, and sets $delay to when the music was first heard.
server_back() {
  key space
  start_sound_server || fail "the sound server did not start: $(server_log)"
  start_recording "$1"
  wait_for 30 program_stream || fail "the program was not back on the server within 3 s"
  key space
  sleep 2
  stop_recording
  delay=$(first_heard "$1")
}
program_stream() { [[ -n "$(pactl list short sink-inputs)" ]]; }

lines_saying() { grep -c "$1" "$work/game.log" || true; }
threads_and_files() { echo "$(ls "/proc/$game_pid/task" | wc -l) threads, $(ls "/proc/$game_pid/fd" | wc -l) files"; }

# --- the music, then the server restarted while the game runs ----------------------------------
start_sound_server || { echo "SKIP: PipeWire did not start here:"; server_log; exit 77; }
start_game "$program"
client_geometry "$window"
menu_bar=$((HEIGHT - 480))
record "$work/before.raw" 2
[[ "$(first_heard "$work/before.raw")" != never ]] || fail "no music reached the sound server"
before_level=$(loudness "$work/before.raw")
sleep 1
before_counts=$(threads_and_files)

stop_sound_server
wait_for 50 grep -q "lost the audio device" "$work/game.log" || fail "the program did not say that the sound was lost"
fresh_game
server_back "$work/after.raw"
after_level=$(loudness "$work/after.raw")
echo "music RMS $before_level before the restart, $after_level after; heard $delay s after the server was back"
within "$delay" 3 || fail "no music within 3 s of the server being back (first heard: $delay)"

wait_for 50 grep -q "is back" "$work/game.log" || fail "the program did not say that the sound is back"
sleep 0.5
after_counts=$(threads_and_files)
echo "with the device open: $before_counts before the restart, $after_counts after"
[[ "$after_counts" == "$before_counts" ]] || fail "$before_counts before the restart, $after_counts after"

# --- a pickup sound after the restart ----------------------------------------------------------
start_recording "$work/pickup.raw"
fresh_game pickup
wait_for 100 game_is_over || true
stop_recording
peak=$(loudest "$work/pickup.raw")
echo "loudest peak while the snake went for a pickup: $peak"
above "$peak" $bleep || fail "no pickup sound was heard after the restart (peak $peak)"

# --- the stream follows the default output -----------------------------------------------------
add_default_sink porongo_e2e_other || fail "could not make a second sink the default"
fresh_game
record "$work/moved.raw" 2 porongo_e2e_other
[[ "$(first_heard "$work/moved.raw")" != never ]] || fail "the music did not move to the new default output"

(($(lines_saying "lost the audio device") == 1)) || fail "not exactly one line about the sound lost"
(($(lines_saying "is back") == 1)) || fail "not exactly one line about the sound back"
key Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"

# --- a game started before the sound server ----------------------------------------------------
stop_sound_server
start_game "$program"
client_geometry "$window"
wait_for 50 grep -q "cannot open the audio device" "$work/game.log" || fail "no line about the missing sound"
fresh_game
server_back "$work/late.raw"
echo "started before the server: music heard $delay s after the server appeared"
within "$delay" 3 || fail "no music within 3 s of the server appearing (first heard: $delay)"
wait_for 50 grep -q "is back" "$work/game.log" || fail "the program did not say that the sound is back"
(($(lines_saying "the audio device") == 2)) || fail "more than one line about the missing sound and one about it back"
key Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
echo "PASS"
