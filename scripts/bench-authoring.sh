#!/usr/bin/env bash
# Packing a large panorama against a stitcher's remapper, side by side.
#
# Makes an 8192 x 4096 RGB PNG from the bundled sample (enlarged 4 times),
# then, in interleaved rounds, turns it into six cube faces with hugin's
# `nona` (a project with six rectilinear 90-degree views, written as
# uncompressed TIFFs) and packs it with `qbzpack pack` to the same face size.
# Prints the median wall time and peak memory (maximum resident set) of each,
# for 2048- and 512-texel faces, as a Markdown table.
#
# Usage: scripts/bench-authoring.sh [ROUNDS]   (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}

scripts/install-deps.sh build bench
build=build/release
if [[ ! -f $build/build.ninja ]]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target qbzpack qbz_enlarge_panorama >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
input="$work/wide.png"
"$build/bin/qbz_enlarge_panorama" assets/mars-husband-hill-equirect.png 4 "$input"

# Six views straight ahead, right, back, left, up and down, each 90 degrees
# wide: one remapped TIFF per view.
write_project() {  # FACE_SIZE FILE
  {
    echo "p f0 w$1 h$1 v90 n\"TIFF_m c:NONE r:UNCROPPED\" E0 R0"
    echo "m i0"
    for view in "y0 p0" "y-90 p0" "y180 p0" "y90 p0" "y0 p-90" "y0 p90"; do
      echo "i f4 w8192 h4096 v360 r0 $view Eev0 Er1 Eb1 n\"$input\""
    done
  } >"$2"
}

# Runs a command and prints "SECONDS KILOBYTES".
measure() {
  local log="$work/time.log"
  /usr/bin/time -o "$log" -f "%e %M" "$@" >/dev/null 2>&1 || { echo "bench-authoring: failed: $*" >&2; exit 1; }
  cat "$log"
}

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "| faces | nona s | qbzpack s | time ratio | nona MB | qbzpack MB | memory ratio |"
echo "|---|---|---|---|---|---|---|"
for face in 2048 512; do
  write_project "$face" "$work/views.pto"
  : >"$work/nona" && : >"$work/qbzpack"
  for ((round = 0; round < rounds; ++round)); do
    measure nona -o "$work/view" "$work/views.pto" >>"$work/nona"
    measure "$build/bin/qbzpack" pack "$input" --face-size "$face" -o "$work/out.qbz" >>"$work/qbzpack"
  done
  nonaSeconds=$(cut -d' ' -f1 "$work/nona" | median)
  packSeconds=$(cut -d' ' -f1 "$work/qbzpack" | median)
  nonaKb=$(cut -d' ' -f2 "$work/nona" | median)
  packKb=$(cut -d' ' -f2 "$work/qbzpack" | median)
  awk -v f="$face" -v ns="$nonaSeconds" -v ps="$packSeconds" -v nk="$nonaKb" -v pk="$packKb" 'BEGIN {
    printf "| %s | %.1f | %.1f | %.2f | %.0f | %.0f | %.2f |\n", f, ns, ps, ps / ns, nk / 1024, pk / 1024, pk / nk }'
done
