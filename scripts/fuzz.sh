#!/usr/bin/env bash
# Builds the fuzz targets with clang (build-fuzz/): the six picture decoders, the terrain file,
# db.cfg, trevok.cfg and wave files. Writes their seed corpus from our encoders and the generated
# content, then runs the targets side by side, as many at once as there are cores, each for
# FUZZ_SECONDS (20 by default). Any finding (a crash, a sanitizer report, a leak or a time-out)
# fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(image_bmp image_tga image_ppm image_dds image_jpeg image_png terrain database settings wave)
seconds="${FUZZ_SECONDS:-20}"
jobs="$(nproc)"

cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DTREVOK_FUZZ=ON -DTREVOK_TESTS=OFF -DTREVOK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$jobs" --target fuzzers

rm -rf build-fuzz/seeds
build-fuzz/fuzz/make_image_seeds build-fuzz/seeds
build-fuzz/fuzz/make_file_seeds build-fuzz/data build-fuzz/seeds
# One target, in its own working directory, which keeps its files and any finding.
fuzz_one() {
  local name="$1" work="build-fuzz/work/$1"
  mkdir -p "build-fuzz/corpus/$name" "$work"
  # The targets' own output (the game's boxes and reports) is dropped; libFuzzer's and the
  # sanitizers' reports still reach the log.
  if (cd "$work" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        LSAN_OPTIONS=suppressions="$PWD/../../../tests/lsan.supp" \
        "../../fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -close_fd_mask=3 \
        -print_final_stats=1 "../../corpus/$name" "../../seeds/${name#image_}" 2>fuzz.log); then
    echo "  $name: $(grep -o "number_of_executed_units: [0-9]*" "$work/fuzz.log" | cut -d' ' -f2) runs"
  else
    tail -40 "$work/fuzz.log"
    echo "fuzz: $name failed; the input is in $work/" >&2
    return 1
  fi
}
export -f fuzz_one
export seconds

echo "fuzzing ${#targets[@]} targets for ${seconds}s each, $jobs at once"
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'fuzz_one {}'
echo "fuzz: no findings"
