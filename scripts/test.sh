#!/usr/bin/env bash
# All tests: a release build with every test, then the unit tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, the concurrency suite alone under ThreadSanitizer, then a bounded fuzzing run of
# the file readers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
jobs=$(nproc)

echo "== release build and tests"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTVB_BUILD_TESTS=ON -DTVB_BUILD_BENCH=ON >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --no-tests=error --output-on-failure -j "$jobs"

echo "== sanitizer build and tests"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTVB_SANITIZE=ON -DTVB_BUILD_TESTS=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --no-tests=error --output-on-failure -j "$jobs" -LE nosan

echo "== thread sanitizer build and concurrency tests"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTVB_TSAN=ON -DTVB_BUILD_TESTS=ON -DTVB_BUILD_BENCH=OFF \
  >/dev/null
cmake --build build-tsan -j "$jobs" --target concurrency_tests
# A race ends the process at once (the scenarios run in child processes, which end without the exit report).
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  ctest --test-dir build-tsan --no-tests=error --output-on-failure -L concurrency

if [ -x scripts/fuzz.sh ]; then
  echo "== fuzzing"
  scripts/fuzz.sh
fi
