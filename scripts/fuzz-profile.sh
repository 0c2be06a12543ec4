#!/usr/bin/env bash
# Builds the profile-file fuzzer with clang and runs it on one core.
#   scripts/fuzz-profile.sh [seconds]      (default 600)
# The corpus grows in fuzz-corpus/profile; a failing input is saved as crash-* in the
# current directory and can be replayed with: build-fuzz/.../profile_fuzzer crash-<id>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
bash scripts/install-packages.sh build test fuzz
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DPORONGO_BUILD_FUZZERS=ON -DPORONGO_BUILD_BENCHMARKS=OFF
cmake --build build-fuzz --target profile_fuzzer
mkdir -p fuzz-corpus/profile
build-fuzz/tests/platform/kernel32/fuzz/profile_fuzzer -max_total_time="$seconds" -print_final_stats=1 fuzz-corpus/profile
