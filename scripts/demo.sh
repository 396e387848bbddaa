#!/usr/bin/env bash
# The main job: builds the library from scratch and runs the transport example.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTVB_BUILD_TESTS=OFF -DTVB_BUILD_BENCH=OFF >/dev/null
cmake --build build
build/bin/transport
