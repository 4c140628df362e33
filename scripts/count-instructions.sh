#!/usr/bin/env bash
# The instruction budget: counts the x86-64 instructions of whole frames of a
# Release build under valgrind's callgrind (the count does not depend on the
# machine's load) and fails when the start view takes more than the budget.
#
#   scripts/count-instructions.sh [build-dir] [-- extra qbz_frame_instructions options]
#
# The build directory (default build/release) is configured as Release and
# built when needed. QBZ_BENCH_PANORAMA names another panorama to measure.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/release
if [[ $# -gt 0 && $1 != -- ]]; then build=$1; shift; fi
[[ ${1:-} == -- ]] && shift
budget=${QBZ_INSTRUCTION_BUDGET:-2000000}
frames=${QBZ_COUNTED_FRAMES:-50}

command -v valgrind >/dev/null || { echo "valgrind is not installed (apt-get install valgrind)" >&2; exit 2; }
if [[ ! -f $build/CMakeCache.txt ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" -j2 --target qbz_frame_instructions >/dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
count() {  # options... -> instructions per frame
  valgrind --tool=callgrind --instr-atstart=no --callgrind-out-file="$out/callgrind.out" \
    "$build/bin/qbz_frame_instructions" --frames "$frames" "$@" >"$out/program.txt" 2>"$out/valgrind.txt" ||
    { cat "$out/valgrind.txt" >&2; exit 2; }
  local total
  total=$(awk '/^totals:/ {print $2; exit}' "$out/callgrind.out")  # the counted frames only
  echo $((total / frames))
}

start=$(count "$@")
cp "$out/program.txt" "$out/start.txt"
spin=$(count --spin "$@")
wire=$(count --wireframe "$@")
head -1 "$out/start.txt"
printf 'instructions per frame: start view %d, turning %d, wire-frame %d (budget %d at the start view)\n' \
  "$start" "$spin" "$wire" "$budget"
if ((start > budget)); then
  echo "over budget by $((start - budget)) instructions per frame" >&2
  exit 1
fi
echo "within budget"
