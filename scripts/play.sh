#!/usr/bin/env bash
# Builds the game and its content, then starts it in its data directory.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTREVOK_TESTS=OFF -DTREVOK_BENCH=OFF
cmake --build build -j"$(nproc)" --target trevok trevok_data
cd build/data
exec ../trevok "$@"
