#!/usr/bin/env bash
# Builds and runs every test: as built for playing, each test alone and the whole suite in one
# process; then the fuzz targets of the files the game reads for a short bounded time; then the
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, in shards side by side, with
# three simulated minutes of the soak (bench/soak.cpp) under the leak check.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
jobs="$(nproc)"

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-test -j"$jobs"
(cd build-test && ctest -j"$jobs" --output-on-failure)

if [ -x scripts/fuzz.sh ]; then
  bash scripts/fuzz.sh
fi

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTREVOK_SANITIZE=ON -DTREVOK_BENCH=OFF
cmake --build build-sanitize -j"$jobs"
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$PWD/../tests/lsan.supp" UBSAN_OPTIONS=print_stacktrace=1 ctest -j"$jobs" --output-on-failure)
