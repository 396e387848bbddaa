#!/usr/bin/env bash
# Fuzzes for a bounded time: the TVF file reader for FUZZ_SECONDS (default 60), then the records of the library
# against a reference model for half as long. Builds the libFuzzer targets with clang++-14 in build-fuzz,
# writes an initial corpus of TVF files with the library itself, and fails on any finding (crash, sanitizer
# report, difference from the model, leak, timeout or excessive memory).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DTVB_BUILD_FUZZERS=ON -DTVB_BUILD_TESTS=OFF -DTVB_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target tvf_reader_fuzzer tvf_initial_corpus record_differential_fuzzer

# fuzz NAME SECONDS OPTIONS...: runs fuzzer NAME on its corpus in $build/fuzz/NAME.
fuzz() {
  local name=$1 time=$2
  shift 2
  local dir="$build/fuzz/$name"
  rm -rf "$dir/findings"
  mkdir -p "$dir/corpus" "$dir/findings"
  echo "fuzzing with $name for ${time}s"
  local status=0
  "$build/bin/$name" "$dir/corpus" -max_total_time="$time" -timeout=10 -artifact_prefix="$dir/findings/" \
    -print_final_stats=1 "$@" >"$dir/fuzz.log" 2>&1 || status=$?
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$dir/findings")" ]; then
    cat "$dir/fuzz.log" >&2
    echo "fuzzing found a problem; inputs in $dir/findings" >&2
    exit 1
  fi
  grep '^stat::' "$dir/fuzz.log" || true
}

mkdir -p "$build/fuzz/tvf_reader_fuzzer/corpus"
"$build/bin/tvf_initial_corpus" "$build/fuzz/tvf_reader_fuzzer/corpus"
# -malloc_limit_mb: the reader must never allocate out of proportion to its (at most 64 KiB) input.
fuzz tvf_reader_fuzzer "$seconds" -max_len=65536 -rss_limit_mb=1024 -malloc_limit_mb=64
# A few kilobytes of decisions make hundreds of operations; fills of thousands of records take two bytes.
fuzz record_differential_fuzzer "$((seconds / 2))" -max_len=4096 -rss_limit_mb=2048
echo "fuzzing found nothing"
