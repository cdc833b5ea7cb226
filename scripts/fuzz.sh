#!/usr/bin/env bash
# Builds the picture decoders' fuzz targets with clang (build-fuzz/), writes their seed corpus
# and runs each for a short bounded time. Any finding (a crash, a sanitizer report, a leak or
# a time-out) fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-20}"
jobs="$(nproc)"
[ "$jobs" -gt 8 ] && jobs=8

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DTREVOK_FUZZ=ON -DTREVOK_TESTS=OFF -DTREVOK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target image_fuzzers

rm -rf build-fuzz/seeds
build-fuzz/fuzz/make_image_seeds build-fuzz/seeds
for name in bmp tga ppm dds jpeg png; do
  corpus="build-fuzz/corpus/$name"
  mkdir -p "$corpus"
  echo "fuzzing the $name decoder for ${seconds}s"
  (cd build-fuzz && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1 \
     "fuzz/fuzz_image_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
     "corpus/$name" "seeds/$name" 2>"fuzz-$name.log") || {
    tail -40 "build-fuzz/fuzz-$name.log"
    echo "fuzz: the $name decoder failed; the input is in build-fuzz/" >&2
    exit 1
  }
done
echo "fuzz: no findings"
