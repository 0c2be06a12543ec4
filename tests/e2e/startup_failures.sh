#!/usr/bin/env bash
# End to end: the real program where it cannot have everything it wants.
#   startup_failures.sh <program> <data directory>
# Without a display (X11 or Wayland), or with QT_QPA_PLATFORM naming a platform that cannot start, it says
# why in one line and ends with a failure status. Without a sound card it plays in silence,
# with one line that says so and none of the audio library's own.
set -euo pipefail

program=$(readlink -f "$1")
data=$(readlink -f "$2")
source "$(dirname "$0")/e2e_lib.sh"
prepare_game "$data"

# Runs the program in $work under `env` with the arguments given; sets $status and $said
# (what it wrote to stderr).
run_without_window() {
  status=0
  said=$(cd "$work" && env "$@" timeout 30 "$program" 2>&1 >/dev/null) || status=$?
}

expect_one_line() {
  local what=$1 text=$2
  [[ $status == 1 ]] || fail "$what: exit status $status, expected 1 (said: $said)"
  [[ $(printf '%s\n' "$said" | wc -l) == 1 ]] || fail "$what: more than one line: $said"
  [[ $said == *"$text"* ]] || fail "$what: '$said' does not say '$text'"
}

run_without_window -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM
expect_one_line "no display" "porongo: cannot create a window: no display"

run_without_window -u DISPLAY -u QT_QPA_PLATFORM WAYLAND_DISPLAY=porongo-nobody-listens
expect_one_line "a Wayland display that nobody answers" "Wayland display \"porongo-nobody-listens\""

for platform in nonsense wayland; do
  run_without_window -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM="$platform"
  expect_one_line "QT_QPA_PLATFORM=$platform" "\"$platform\""
done

# A sound card that no machine has: ALSA fails, and would say so at length.
start_x_server Xvfb -screen 0 1024x768x24 -nolisten tcp || fail "Xvfb did not start: $(cat "$work/xserver.log")"
export SDL_AUDIODRIVER=alsa AUDIODEV=hw:99
start_game "$program"
press Escape
wait_for_game_end || fail "Esc did not end the program"
[[ $game_status == 0 ]] || fail "exit code $game_status"
! grep -q "ALSA lib" "$work/game.log" || fail "the audio library's own messages reached stderr"
[[ $(wc -l <"$work/game.log") == 1 ]] || fail "more than the one line about the sound"
grep -q "sound is silent" "$work/game.log" || fail "no line about the missing sound"
echo "PASS"
