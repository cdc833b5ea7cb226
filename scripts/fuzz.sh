#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/): the six picture decoders, the terrain file,
# db.cfg, trevok.cfg and wave files. Writes their seed corpus from our encoders and the generated
# content, then runs each for a short bounded time: FUZZ_SECONDS in all (120 by default), shared
# among the targets. Any finding (a crash, a sanitizer report, a leak or a time-out) fails the
# script.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(image_bmp image_tga image_ppm image_dds image_jpeg image_png terrain database settings wave)
total="${FUZZ_SECONDS:-120}"
seconds=$(( total / ${#targets[@]} ))
[ "$seconds" -lt 1 ] && seconds=1
jobs="$(nproc)"
[ "$jobs" -gt 8 ] && jobs=8

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DTREVOK_FUZZ=ON -DTREVOK_TESTS=OFF -DTREVOK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzzers

rm -rf build-fuzz/seeds
build-fuzz/fuzz/make_image_seeds build-fuzz/seeds
build-fuzz/fuzz/make_file_seeds build-fuzz/data build-fuzz/seeds
for name in "${targets[@]}"; do
  seeds="../../seeds/${name#image_}"
  corpus="../../corpus/$name"
  work="build-fuzz/work/$name"  # the target's working directory: its files and any finding
  mkdir -p "build-fuzz/corpus/$name" "$work"
  echo "fuzzing $name for ${seconds}s"
  # The targets' own output (the game's boxes and reports) is dropped; libFuzzer's and the
  # sanitizers' reports still reach the log.
  (cd "$work" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
     LSAN_OPTIONS=suppressions="$PWD/../../../tests/lsan.supp" \
     "../../fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=3 \
     -print_final_stats=1 "$corpus" "$seeds" 2>fuzz.log) || {
    tail -40 "$work/fuzz.log"
    echo "fuzz: $name failed; the input is in $work/" >&2
    exit 1
  }
  grep -h "stat::number_of_executed_units" "$work/fuzz.log" | sed "s/^/  /" || true
done
echo "fuzz: no findings"
