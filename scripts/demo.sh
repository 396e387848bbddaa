#!/usr/bin/env bash
# The main job: builds the library from scratch, runs the transport example (its data in a database, written to
# a TVF file and read back), then the scenario study on the transportation model: ten demand scenarios solved
# on the held CLP instance, their table, and tvfdump of the TVF file of their results.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTVB_BUILD_TESTS=OFF -DTVB_BUILD_BENCH=OFF >/dev/null
cmake --build build
build/bin/transport build/transport.tvf
echo
echo "== build/bin/tvfdump build/transport.tvf"
build/bin/tvfdump build/transport.tvf
echo
echo "== build/bin/transport_scenarios examples/transport/transport.mod build/scenarios.tvf"
build/bin/transport_scenarios examples/transport/transport.mod build/scenarios.tvf
echo
echo "== build/bin/tvfdump build/scenarios.tvf"
build/bin/tvfdump build/scenarios.tvf
