#!/usr/bin/env bash
# Installs what the build and the tests need, then configures, builds and runs every test,
# and builds the Debian package and checks it (installing, starting and purging it as root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh build test package
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j2
deb=$(bash scripts/package.sh)
bash scripts/check-package.sh "$deb"
