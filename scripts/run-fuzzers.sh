#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (the viewer and qbzpack instrumented
# for coverage, ASan and UBSan) and runs each from its seed corpus
# (fuzz/corpus/NAME) for a bounded time: QBZ_FUZZ_SECONDS (default 15) each,
# or `--long SECONDS` each. Every run has a 512 MB memory ceiling and a time
# limit per input, so a blow-up in either counts as a finding. Skipped, with a
# note, where clang is absent.
#   scripts/run-fuzzers.sh [--long SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${QBZ_FUZZ_SECONDS:-15}
if [[ ${1:-} == --long ]]; then
  seconds=${2:?--long needs a number of seconds}
  shift 2
fi
jobs=$(nproc 2>/dev/null || echo 2)

if ! command -v clang++ >/dev/null 2>&1; then
  echo "run-fuzzers: clang++ not found, fuzzers skipped"
  exit 0
fi

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQBZ_FUZZ=ON \
  -DQBZ_SANITIZE=ON -DQBZ_WERROR=ON -DQBZ_BUILD_TESTS=OFF -DQBZ_BUILD_BENCH=OFF -DQBZ_BUILD_TOOLS=ON \
  -DQBZ_BUILD_SDL=OFF -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
all_targets=(fuzz_container fuzz_event_script fuzz_fillers fuzz_frames fuzz_qbzpack fuzz_round_trip)
targets=("${all_targets[@]}")
[[ $# -gt 0 ]] && targets=("$@")
cmake --build build/fuzz -j "$jobs" --target "${targets[@]}"

# Per target: seconds per input and the longest input.
limits() {
  case $1 in
    fuzz_frames) echo "30 16384" ;;
    fuzz_qbzpack | fuzz_container) echo "20 65536" ;;
    *) echo "10 8192" ;;
  esac
}

for name in "${targets[@]}"; do
  target=build/fuzz/bin/$name
  corpus=build/fuzz/corpus/$name
  mkdir -p "$corpus"
  seeds=fuzz/corpus/${name#fuzz_}
  [[ -d "$seeds" ]] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  read -r timeout max_len < <(limits "$name")
  echo "run-fuzzers: $name for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1 "$target" "$corpus" -max_total_time="$seconds" -rss_limit_mb=512 \
    -timeout="$timeout" -max_len="$max_len" -close_fd_mask=1 -print_final_stats=1 \
    -artifact_prefix=build/fuzz/"$name"- >build/fuzz/"$name".log 2>&1 &&
    status=0 || status=$?
  grep -E '^#[0-9]+.*(DONE|pulse|NEW)' build/fuzz/"$name".log | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|peak_rss_mb)' build/fuzz/"$name".log || true
  if [[ $status -ne 0 ]]; then
    tail -n 30 build/fuzz/"$name".log >&2
    echo "run-fuzzers: $name found a fault (log build/fuzz/$name.log)" >&2
    exit 1
  fi
done
