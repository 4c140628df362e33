#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the whole viewer instrumented for
# coverage, ASan and UBSan) and runs each for a bounded time from its seed
# corpus. Skipped, with a note, where clang is absent.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${QBZ_FUZZ_SECONDS:-30}
jobs=$(nproc 2>/dev/null || echo 2)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "run-fuzzers: clang++ not found, fuzzers skipped"
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBZ_FUZZ=ON \
  -DQBZ_SANITIZE=ON -DQBZ_WERROR=ON -DQBZ_BUILD_TESTS=OFF -DQBZ_BUILD_BENCH=OFF -DQBZ_BUILD_TOOLS=OFF \
  -DQBZ_BUILD_SDL=OFF -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build build/fuzz -j "$jobs"

for target in build/fuzz/bin/fuzz_*; do
  name=$(basename "$target")
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=fuzz/corpus/${name#fuzz_}
  [[ -d "$seeds" ]] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  echo "run-fuzzers: $name for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1 "$target" "$corpus" -max_total_time="$seconds" -rss_limit_mb=4096 \
    -max_len=65536 -print_final_stats=1 2>&1 | tail -n 4
  [[ ${PIPESTATUS[0]} -eq 0 ]] || { echo "run-fuzzers: $name found a fault" >&2; exit 1; }
done
