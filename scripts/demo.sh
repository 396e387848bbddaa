#!/usr/bin/env bash
# The main job: builds the library from scratch and runs the transport example, which also writes its data
# to a TVF file and reads it back; tvfdump then prints that file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTVB_BUILD_TESTS=OFF -DTVB_BUILD_BENCH=OFF >/dev/null
cmake --build build
build/bin/transport build/transport.tvf
echo
echo "== build/bin/tvfdump build/transport.tvf"
build/bin/tvfdump build/transport.tvf
