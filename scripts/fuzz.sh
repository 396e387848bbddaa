#!/usr/bin/env bash
# Fuzzes the TVF file reader for a bounded time (FUZZ_SECONDS, default 60): builds the libFuzzer target with
# clang++-14 in build-fuzz, writes a initial corpus with the library itself, and fails on any finding (crash,
# sanitizer report, leak, timeout or excessive memory).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DTVB_BUILD_FUZZERS=ON -DTVB_BUILD_TESTS=OFF -DTVB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target tvf_reader_fuzzer tvf_initial_corpus

corpus="$build/fuzz/corpus"
findings="$build/fuzz/findings"
rm -rf "$findings"
mkdir -p "$corpus" "$findings"
"$build/bin/tvf_initial_corpus" "$corpus"

echo "fuzzing the TVF reader for ${seconds}s"
# -malloc_limit_mb: the reader must never allocate out of proportion to its (at most 64 KiB) input.
log="$build/fuzz/fuzz.log"
set +e
"$build/bin/tvf_reader_fuzzer" "$corpus" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
  -rss_limit_mb=1024 -malloc_limit_mb=64 -artifact_prefix="$findings/" -print_final_stats=1 >"$log" 2>&1
status=$?
set -e
if [ "$status" -ne 0 ] || [ -n "$(ls -A "$findings")" ]; then
  cat "$log" >&2
  echo "fuzzing found a problem; inputs in $findings" >&2
  exit 1
fi
grep '^stat::' "$log" || true
echo "fuzzing found nothing"
