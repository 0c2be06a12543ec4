#!/usr/bin/env bash
# Installs what the build and the tests need, then configures, builds and runs every test:
# the Linux build's, then the Windows build's under Wine (whose end-to-end run compares its
# first frame with the Linux program's) and the Windows release zip, then the Debian package,
# built and checked (installed, started and purged as root).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh build test windows package
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-win -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo --toolchain cmake/mingw-w64-x86_64.cmake \
  -DPORONGO_LINUX_PROGRAM="$PWD/build/app/porongo"
cmake --build build-win
ctest --test-dir build-win --output-on-failure -j2
(cd build-win && cpack -G ZIP)

deb=$(bash scripts/package.sh)
bash scripts/check-package.sh "$deb"
