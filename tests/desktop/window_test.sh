#!/usr/bin/env bash
# The viewer in a real window under Xvfb: the window shows the same picture
# as the headless run of the same frame, a second start brings the first
# forward and ends with status 0 while the first keeps running, and Escape
# ends the first with status 0.
#
# Usage: window_test.sh QBZVIEW
# The container shown: $QBZVIEW_TEST_PANORAMA when set; else one made with
# $QBZ_BINARY_DIR/bin/qbzpack from $QBZVIEW_TEST_IMAGE (or the first PNG in
# $QBZ_SOURCE_DIR/assets). Exit status 77 (skipped) when Xvfb, xdotool or a
# container is missing.
set -uo pipefail

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

viewer=${1:?usage: window_test.sh QBZVIEW}
capture_frame=2

if [[ "${2:-}" != "--inside" ]]; then
  command -v xvfb-run >/dev/null && command -v Xvfb >/dev/null || skip "Xvfb is not installed (Debian: xvfb)"
  command -v xdotool >/dev/null || skip "xdotool is not installed"
  command -v xauth >/dev/null || skip "xauth is not installed (xvfb-run needs it)"

  work=$(mktemp -d /tmp/qbzview-window-test-XXXXXX)
  trap 'rm -rf "$work"' EXIT

  panorama=${QBZVIEW_TEST_PANORAMA:-}
  if [[ -z "$panorama" ]]; then
    qbzpack="${QBZ_BINARY_DIR:-}/bin/qbzpack"
    [[ -x "$qbzpack" ]] || skip "no sample container: set QBZVIEW_TEST_PANORAMA or build qbzpack"
    image=${QBZVIEW_TEST_IMAGE:-}
    if [[ -z "$image" ]]; then
      image=$(ls "${QBZ_SOURCE_DIR:-.}"/assets/*.png 2>/dev/null | head -n 1)
    fi
    [[ -n "$image" && -f "$image" ]] || skip "no image to pack: set QBZVIEW_TEST_IMAGE or add one under assets/"
    panorama="$work/sample.qbz"
    "$qbzpack" pack "$image" --face-size 512 -o "$panorama" >"$work/pack.log" 2>&1 ||
      fail "qbzpack could not build the sample: $(tail -n 1 "$work/pack.log")"
  fi
  [[ -f "$panorama" ]] || fail "no such container: $panorama"

  "$viewer" --headless --frames "$capture_frame" --dump-display "$work/headless.raw" "$panorama" ||
    fail "the headless run of the sample failed"

  export QBZVIEW_TEST_WORK="$work" QBZVIEW_TEST_PANORAMA="$panorama"
  xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$viewer" --inside
  exit $?
fi

# ---- inside the X server
# In a sanitizer build the windowed runs skip the leak check: SDL unloads the
# X11 libraries it opened, and what they keep can then no longer be told
# apart. Memory errors are still fatal; the headless run above checked leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
work=$QBZVIEW_TEST_WORK
panorama=$QBZVIEW_TEST_PANORAMA
# A private meeting place, so that a viewer the user has open elsewhere is not found.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"

QBZVIEW_CAPTURE="$work/window.raw" QBZVIEW_CAPTURE_FRAME=$capture_frame \
  "$viewer" --scale 2 "$panorama" 2>"$work/first.log" &
first=$!
trap 'kill "$first" 2>/dev/null' EXIT

window=$(timeout 10 xdotool search --sync --onlyvisible --name '^qbzview$' | head -n 1)
[[ -n "$window" ]] || fail "no window named qbzview appeared ($(cat "$work/first.log"))"
read -r width height < <(xdotool getwindowgeometry "$window" | awk '/Geometry/ { split($2, s, "x"); print s[1], s[2] }')
[[ "$width" == 480 && "$height" == 640 ]] || fail "window is ${width}x${height}, expected 480x640 at --scale 2"

for _ in $(seq 100); do [[ -s "$work/window.raw" ]] && break; sleep 0.1; done
[[ -s "$work/window.raw" ]] || fail "the window's picture of frame $capture_frame was not captured ($(cat "$work/first.log"))"
lit=$(tr -d '\000' <"$work/window.raw" | wc -c)
(( lit > 0 )) || fail "the window shows a black screen"
cmp -s "$work/window.raw" "$work/headless.raw" ||
  fail "the window's frame $capture_frame differs from the headless screen of the same frame"
echo "window shows the headless picture of frame $capture_frame"

timeout 10 "$viewer" "$panorama" 2>"$work/second.log"
status=$?
[[ $status -eq 0 ]] || fail "second start ended with status $status ($(cat "$work/second.log"))"
kill -0 "$first" 2>/dev/null || fail "the first viewer ended when the second started"
windows=$(xdotool search --onlyvisible --name '^qbzview$' | wc -l)
[[ $windows -eq 1 ]] || fail "$windows viewer windows are open, expected 1"
echo "second start brought the first forward and ended with status 0"

xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key --window "$window" Escape
for _ in $(seq 100); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
kill -0 "$first" 2>/dev/null && fail "Escape did not end the viewer"
wait "$first"
status=$?
trap - EXIT
[[ $status -eq 0 ]] || fail "the viewer ended with status $status after Escape ($(cat "$work/first.log"))"
echo "Escape ended the viewer with status 0"
