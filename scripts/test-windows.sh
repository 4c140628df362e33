#!/usr/bin/env bash
# qbzview on 64-bit Windows, cross-built with Debian's MinGW-w64 and run
# under Wine in a prefix of its own (build/windows/wine):
#
# 1. qbzview.exe imports nothing but the system's DLLs;
# 2. the whole unit suite runs as .exe files under Wine (ctest through the
#    toolchain's emulator);
# 3. the headless host under Wine draws exactly the Linux host's screens, for
#    every golden input (build/release/golden), the bundled sample, and a
#    self-contained viewer of each system made by qbzpack with every trailer
#    option;
# 4. the real Win32 window under Xvfb: its size, its picture (the program's
#    own F12 screenshot) against the headless screen of the same frame, an
#    arrow key turning the view, a second start bringing the first forward
#    and ending with 0, Escape ending with 0, a missing panorama ending with 1
#    and one line;
# 5. a self-contained .exe made by qbzpack shows its panorama.
#
# Where Wine cannot start at all, the script says so and skips (status 0).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=2
start=$(date +%s)

scripts/install-deps.sh build windows

export WINEPREFIX=$PWD/build/windows/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p build/windows
if ! timeout 300 wine cmd.exe /c exit 0 >build/windows/wine-start.log 2>&1; then
  echo "windows: SKIPPED: Wine cannot start here ($(grep -v '^$' build/windows/wine-start.log | tail -n 1))"
  exit 0
fi
# One persistent Wine server for every run below, instead of one each; ended
# at exit. The server that started the prefix ends as soon as its last client
# does, and a program starting at that moment loses its connection ("recvmsg:
# Connection reset by peer"): wait for it to end, then start ours.
# The first program under a fresh server starts Wine's background services,
# which keep that program's output open: let a harmless one start them, with
# its output in a file, so that no test's output pipe is held.
timeout 120 wineserver -w || wineserver -k 2>/dev/null || true
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
timeout 300 wine cmd.exe /c exit 0 >>build/windows/wine-start.log 2>&1

echo "== Windows cross build"
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DQBZ_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake -DQBZ_GTEST_FROM_SOURCE=ON >/dev/null
cmake --build build/windows -j "$jobs"
viewer=build/windows/bin/qbzview.exe
imports=$(x86_64-w64-mingw32-objdump -p "$viewer" | awk '/DLL Name:/ { print toupper($3) }' | sort | tr '\n' ' ')
for dll in $imports; do
  case $dll in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | MSVCRT.DLL) ;;
    *) echo "windows: qbzview.exe imports $dll, not a system DLL (imports: $imports)" >&2; exit 1 ;;
  esac
done
echo "qbzview.exe imports only $imports"
built=$(date +%s)

echo "== Windows unit tests under Wine"
# Now and then Wine loses a program before its first line (no output at all,
# or "wine client error"), a fault of the emulation, not of the test: a test
# that fails is run up to twice more. The same tests run natively, with no
# second chance, in the optimised and sanitizer suites.
ctest --test-dir build/windows --output-on-failure -j "$jobs" --repeat until-pass:3
tested=$(date +%s)

echo "== the command line under Wine"
for bad in "--headless --frames x" "--headless --no-such-option" "--headless --device pocket" "--frames 3"; do
  for attempt in 1 2 3; do
    status=0
    # shellcheck disable=SC2086
    wine "$viewer" $bad >/dev/null 2>&1 || status=$?
    [[ $status -eq 2 ]] && break
  done
  [[ $status -eq 2 ]] || { echo "windows: 'qbzview.exe $bad' ended with $status, expected 2 (bad usage)" >&2; exit 1; }
done
echo "bad usage ends with status 2"

echo "== Windows screens against Linux screens"
if [[ ! -f build/release/build.ninja ]]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQBZ_WERROR=ON >/dev/null
fi
cmake --build build/release -j "$jobs" --target qbzview qbzpack test_golden sample
# The golden tests leave their inputs in build/release/golden.
if ! compgen -G "build/release/golden/*.qbz" >/dev/null; then
  QBZ_BINARY_DIR=$PWD/build/release build/release/bin/test_golden >/dev/null
fi
screens=build/windows/screens
rm -rf "$screens"
mkdir -p "$screens/inputs" "$screens/linux" "$screens/windows"
linux_qbzpack=build/release/bin/qbzpack

native_label=linux other_label=windows other_runner=(wine)
# shellcheck source=scripts/lib/compare-screens.sh
source scripts/lib/compare-screens.sh

for container in build/release/golden/*.qbz; do
  stem=${container%.qbz}
  compare_screens "golden-$(basename "$stem")" build/release/bin/qbzview "$viewer" "$stem"
done
cp build/release/assets/sample.qbz "$screens/inputs/sample.qbz"
echo "--frames 30 $screens/inputs/sample.qbz" >"$screens/inputs/sample.args"
compare_screens sample build/release/bin/qbzview "$viewer" "$screens/inputs/sample"

# Self-contained viewers of both systems, with every trailer option, on a
# tour of turning, tilting, zooming, dragging and wire-frame.
image=assets/mars-husband-hill-equirect.png
trailer=(--face-size 256 --tile-size 32 --allow-holes --yaw 65 --pitch 6 --zoom 150 --zoom-min 120 --zoom-max 300
  --pitch-min -60 --pitch-max 70 --banner "Spirit rover" --banner-frames 40 --banner-colour 40C0FF
  --caption "Husband Hill, Mars" --caption-x 8 --caption-y 302 --caption-colour FFFFFF
  --overlay1 tests/qbzpack/colour.jpg --overlay1-x 4 --overlay1-y 4
  --overlay2 tests/qbzpack/grey.jpg --overlay2-x 220 --overlay2-y 8)
"$linux_qbzpack" pack "$image" "${trailer[@]}" --viewer build/release/bin/qbzview -o "$screens/mars-linux" >/dev/null
"$linux_qbzpack" pack "$image" "${trailer[@]}" --viewer "$viewer" -o "$screens/mars.exe" >/dev/null
write_tour "$screens/inputs/self-contained"
compare_screens self-contained "$screens/mars-linux" "$screens/mars.exe" "$screens/inputs/self-contained"
echo "--frames 3" >"$screens/inputs/self-contained-banner.args"
compare_screens self-contained-banner "$screens/mars-linux" "$screens/mars.exe" "$screens/inputs/self-contained-banner"
screened=$(date +%s)

finish_comparison windows

echo "== the Win32 window under Xvfb"
# Wine's desktop process takes the display of the program that starts it: a
# fresh server, so that the first window's program starts it under Xvfb.
wineserver -k 2>/dev/null || true
wineserver -w
window_work=$PWD/$screens/window
mkdir -p "$window_work"
cp build/release/assets/sample.qbz "$window_work/sample.qbz"
cp "$screens/mars.exe" "$window_work/mars.exe"
cp "$screens/mars-linux" "$window_work/mars-linux"
QBZ_WINDOW_WORK=$window_work QBZ_LINUX_VIEWER=$PWD/build/release/bin/qbzview QBZ_VIEWER=$PWD/$viewer \
  xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" bash tests/windows/window_test.sh
finished=$(date +%s)

echo "windows: build $((built - start)) s, unit tests $((tested - built)) s, screens $((screened - tested)) s," \
  "window $((finished - screened)) s, total $((finished - start)) s"
