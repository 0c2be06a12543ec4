#!/usr/bin/env bash
# Builds the Debian package of the game, build-deb/porongo_<version>_amd64.deb, and prints its
# path. The program is compiled the way Debian compiles its own packages: with the flags of
# dpkg-buildflags (hardened, and free of the build folder's path) and no build type of
# CMake's on top of them.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh build package >&2

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
flag() { dpkg-buildflags --get "$1"; }
# CMake has no variable for the preprocessor's flags: they go with the compilers'.
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=None \
  -DCMAKE_C_FLAGS="$(flag CPPFLAGS) $(flag CFLAGS)" -DCMAKE_CXX_FLAGS="$(flag CPPFLAGS) $(flag CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(flag LDFLAGS)" \
  -DPORONGO_BUILD_TESTS=OFF -DPORONGO_BUILD_BENCHMARKS=OFF >&2
cmake --build build-deb >&2
rm -f build-deb/porongo_*.deb
(cd build-deb && cpack -G DEB) >&2
ls "$PWD"/build-deb/porongo_*.deb
