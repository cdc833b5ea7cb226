#!/usr/bin/env bash
# Renews the reference pictures tests/screens/*.png after a deliberate change of what a screen
# shows: builds the tests as scripts/test.sh does (build-test/), then runs the screen tests with TREVOK_RENEW_SCREENS=1, which makes them
# write their pictures instead of comparing. Look at each changed picture before committing it.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTREVOK_TESTS=ON
cmake --build build-test -j"$(nproc)" --target trevok_tests
mkdir -p tests/screens
TREVOK_RENEW_SCREENS=1 SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
  build-test/trevok_tests --gtest_filter='Screens*'
git status --short tests/screens
