#!/usr/bin/env bash
# Installs what the game needs, builds it, installs it under build-play/stage and starts it.
# The game runs in the per-user data folder ($XDG_DATA_HOME/porongo, by default
# ~/.local/share/porongo), which holds Ranking.dat and the music and sound files.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh build run
cmake -S . -B build-play -G Ninja -DCMAKE_BUILD_TYPE=Release -DPORONGO_BUILD_TESTS=OFF -DPORONGO_BUILD_BENCHMARKS=OFF
cmake --build build-play
cmake --install build-play --prefix "$PWD/build-play/stage" >/dev/null
exec build-play/stage/games/porongo "$@"
