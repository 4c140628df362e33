#!/usr/bin/env bash
# Everything CI proves: installs what is missing, then builds and runs the
# tests twice (optimised, and with AddressSanitizer + UndefinedBehaviorSanitizer),
# checks the web build in node and headless Chromium, runs the fuzzers for a
# bounded time, and cross-checks the ARM and Windows builds.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)

scripts/install-deps.sh build desktop test

# Each stage's heading says how long the run has taken so far.
stage() { echo "== $* (at $((SECONDS / 60)) min $((SECONDS % 60)) s)"; }

stage "optimised build"
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQBZ_WERROR=ON >/dev/null
cmake --build build/release -j "$jobs"
ctest --test-dir build/release --output-on-failure -j "$jobs"

stage "sanitizer build (ASan + UBSan)"
cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBZ_SANITIZE=ON -DQBZ_WERROR=ON \
  -DQBZ_BUILD_BENCH=OFF >/dev/null
cmake --build build/sanitize -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

stage "web (WebAssembly under node, pages in headless Chromium)"
scripts/test-web.sh

if [[ -x scripts/run-fuzzers.sh ]]; then
  stage "fuzzers"
  scripts/run-fuzzers.sh
fi
if [[ -x scripts/test-arm.sh ]]; then
  stage "ARM (ARMv5T, no divide instruction) under qemu"
  scripts/test-arm.sh
fi
if [[ -x scripts/test-windows.sh ]]; then
  stage "Windows (MinGW-w64 cross build) under Wine"
  scripts/test-windows.sh
fi
stage "all tests passed"
