#!/usr/bin/env bash
# The viewer on 32-bit ARM without a divide instruction (ARMv5TE, soft float)
# under qemu-arm: cross-builds the system, the headless host and the tests,
# runs the whole unit-test suite (including the frame path's division count),
# then checks that the ARM headless host renders exactly the screens of the
# x86-64 one from the same inputs.
#
# Screen inputs, made here by the x86-64 build: every NAME.qbz that its golden
# tests leave in build/release/golden/ and the bundled sample, run with the
# arguments in NAME.args (the whole command line besides --headless and
# --dump-display, panorama and event script included) or, without one, with
# "--frames 40 [--events NAME.events] NAME.qbz"; and a self-contained viewer
# of each build (tests/arm/make_self_contained.cpp), which carries what the
# golden inputs leave out: see-through and averaged tiles, a banner, a
# caption and an overlay.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=2
start=$(date +%s)
qemu=(qemu-arm -L /usr/arm-linux-gnueabi)

scripts/install-deps.sh build arm

echo "== ARM cross build"
cmake -S . -B build/arm -G Ninja -DCMAKE_BUILD_TYPE=Release -DQBZ_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/arm-linux-gnueabi.cmake -DQBZ_GTEST_FROM_SOURCE=ON \
  -DQBZ_BUILD_SDL=OFF -DQBZ_BUILD_BENCH=OFF -DQBZ_BUILD_TOOLS=OFF >/dev/null
cmake --build build/arm -j "$jobs"
built=$(date +%s)

echo "== ARM unit tests under qemu-arm"
# The command-line tests start bin/qbzview (and the packed sample viewer,
# which a build without tools lacks) through the shell, which cannot run an
# ARM executable; the screen comparison below runs the ARM command line.
ctest --test-dir build/arm --output-on-failure -j "$jobs"
tested=$(date +%s)

echo "== ARM screens against x86-64 screens"
[[ -f build/release/build.ninja ]] || cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQBZ_WERROR=ON >/dev/null
cmake --build build/release -j "$jobs" --target qbzview make_self_contained test_golden sample
# The golden tests write the inputs (NAME.qbz, NAME.events, NAME.args) the comparison replays.
rm -rf build/release/golden
ctest --test-dir build/release -R GoldenFrames -j "$jobs" >/dev/null
screens=build/arm/screens
rm -rf "$screens"
mkdir -p "$screens/inputs" "$screens/x86-64" "$screens/arm"
shopt -s nullglob
native_label=x86-64 other_label=arm other_runner=("${qemu[@]}")
# shellcheck source=scripts/lib/compare-screens.sh
source scripts/lib/compare-screens.sh

for container in build/release/golden/*.qbz; do
  stem=${container%.qbz}
  compare_screens "golden-$(basename "$stem")" build/release/bin/qbzview build/arm/bin/qbzview "$stem"
done
# The bundled sample, packed by the x86-64 build, from its start view on.
if [[ -f build/release/assets/sample.qbz ]]; then
  cp build/release/assets/sample.qbz "$screens/inputs/sample.qbz"
  echo "--frames 30 $screens/inputs/sample.qbz" >"$screens/inputs/sample.args"
fi
for container in "$screens"/inputs/*.qbz; do
  stem=${container%.qbz}
  compare_screens "$(basename "$stem")" build/release/bin/qbzview build/arm/bin/qbzview "$stem"
done

# Self-contained viewers: each build's executable with a container, texts,
# an overlay and a start view appended, on a tour of turning, tilting,
# zooming, dragging and wire-frame and back.
for arch in x86-64 arm; do
  viewer=build/release/bin/qbzview
  [[ $arch == arm ]] && viewer=build/arm/bin/qbzview
  build/release/bin/make_self_contained "$viewer" "$screens/$arch-self-contained"
  chmod +x "$screens/$arch-self-contained"
done
write_tour "$screens/inputs/self-contained"
compare_screens self-contained "$screens/x86-64-self-contained" "$screens/arm-self-contained" "$screens/inputs/self-contained"

finished=$(date +%s)
echo "arm: build $((built - start)) s, unit tests $((tested - built)) s, screens $((finished - tested)) s," \
  "total $((finished - start)) s"
finish_comparison arm
