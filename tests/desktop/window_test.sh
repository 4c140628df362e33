#!/usr/bin/env bash
# The viewer in real windows under Xvfb with a window manager: the window
# shows the headless picture; one window per panorama; quick taps of W and
# the wheel are never lost; F12 saves the exact screen; a resized window
# keeps the aspect; a dropped picture restarts the viewer on it; F11 and
# Escape; bad input gives one line and status 1.
#
# Usage: window_test.sh QBZVIEW
# The container shown: $QBZVIEW_TEST_PANORAMA when set; else one made with
# $QBZ_BINARY_DIR/bin/qbzpack from the first PNG in $QBZ_SOURCE_DIR/assets.
# Exit status 77 (skipped) when Xvfb, xdotool, evilwm, cjpeg or qbzpack is missing.
set -uo pipefail

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

viewer=${1:?usage: window_test.sh QBZVIEW}
capture_frame=2
# Held zoom-out (at the lowest zoom already) stops the turning, and a reset
# under it goes back to the start view: a still picture whatever the timing.
freeze_script=$'1 keydown 0xC4\n1 keydown 0xC2\n2 keyup 0xC2\n2 keyup 0xC4\n'

if [[ "${2:-}" != "--inside" ]]; then
  for tool in xvfb-run Xvfb xdotool xauth evilwm cjpeg; do command -v $tool >/dev/null || skip "$tool is not installed"; done
  qbzpack="${QBZ_BINARY_DIR:-}/bin/qbzpack"
  [[ -x "$qbzpack" ]] || skip "no qbzpack built"

  work=$(mktemp -d /tmp/qbzview-window-test-XXXXXX)
  trap 'rm -rf "$work"' EXIT

  panorama=${QBZVIEW_TEST_PANORAMA:-}
  if [[ -z "$panorama" ]]; then
    image=$(ls "${QBZ_SOURCE_DIR:-.}"/assets/*.png 2>/dev/null | head -n 1)
    [[ -n "$image" && -f "$image" ]] || skip "no image to pack under assets/"
    panorama="$work/sample.qbz"
    "$qbzpack" pack "$image" --face-size 512 -o "$panorama" >"$work/pack.log" 2>&1 ||
      fail "qbzpack could not build the sample: $(tail -n 1 "$work/pack.log")"
  fi
  "$qbzpack" testcard --face-size 64 --allow-holes -o "$work/card.qbz" >/dev/null 2>&1 || fail "qbzpack testcard failed"
  # A 2:1 colour ramp as JPEG; packed by qbzpack it must show what the viewer shows of the JPEG itself.
  awk 'BEGIN { print "P3\n256 128\n255"; for (y = 0; y < 128; y++) for (x = 0; x < 256; x++) print x, y * 2, (x + y) % 256 }' |
    cjpeg -quality 90 >"$work/ramp.jpg" || fail "cjpeg failed"
  "$qbzpack" pack "$work/ramp.jpg" -o "$work/ramp.qbz" >/dev/null 2>&1 || fail "qbzpack could not pack the JPEG"

  headless() { "$viewer" --headless "$@" || fail "headless run failed: $*"; }
  printf '%s' "$freeze_script" >"$work/freeze.events"
  printf '%s4 keydown 0xC3\n5 keyup 0xC3\n6 keydown 0xC3\n7 keyup 0xC3\n8 keydown 0xC3\n9 keyup 0xC3\n' \
    "$freeze_script" >"$work/zoom.events"
  headless --frames "$capture_frame" --dump-display "$work/headless.raw" "$panorama"
  headless --frames 4 --events "$work/freeze.events" --screenshot "$work/still.png" "$panorama"
  headless --frames 11 --events "$work/zoom.events" --screenshot "$work/zoomed.png" "$panorama"
  headless --frames 4 --events "$work/freeze.events" --screenshot "$work/ramp.png" "$work/ramp.qbz"
  headless --frames 4 --events "$work/freeze.events" --screenshot "$work/ramp-direct.png" "$work/ramp.jpg"
  cmp -s "$work/ramp.png" "$work/ramp-direct.png" || fail "the JPEG on the command line differs from it packed"
  echo "a JPEG on the command line shows what qbzpack makes of it"

  # Bad input: one line naming the file, status 1, no window needed.
  echo "just text" >"$work/x.txt"
  head -c 600 "$work/ramp.jpg" >"$work/cut.jpg"
  printf '\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x02\0\0\0\x27\x30\x9c\x9f' >"$work/huge.png"
  for bad in x.txt cut.jpg huge.png missing.qbz; do
    DISPLAY= "$viewer" "$work/$bad" >"$work/bad.out" 2>"$work/bad.log"
    status=$?
    [[ $status -eq 1 && $(wc -l <"$work/bad.log") -eq 1 && ! -s "$work/bad.out" ]] && grep -q "$work/$bad: " "$work/bad.log" ||
      fail "$bad: status $status, said: $(cat "$work/bad.log")"
    echo "$bad: $(cat "$work/bad.log")"
  done
  grep -q "not a QBZ container or an equirectangular PNG/JPEG picture" <("$viewer" "$work/x.txt" 2>&1) || fail "x.txt message"
  grep -q "missing.qbz: not found" <("$viewer" "$work/missing.qbz" 2>&1) || fail "missing file message"

  export QBZVIEW_TEST_WORK="$work" QBZVIEW_TEST_PANORAMA="$panorama"
  # -a starts looking at a random number: two runs at once rarely pick the same display.
  xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" bash "$0" "$viewer" --inside
  exit $?
fi

# ---- inside the X server
# In a sanitizer build the windowed runs skip the leak check: SDL unloads the
# X11 libraries it opened, and what they keep can then no longer be told
# apart. Memory errors are still fatal; the headless runs above checked leaks.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
work=$QBZVIEW_TEST_WORK
panorama=$QBZVIEW_TEST_PANORAMA
name=$(basename "$panorama")
# A private meeting place, so that a viewer the user has open elsewhere is not found.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
evilwm >/dev/null 2>&1 &
wm=$!
pids=("$wm")
trap 'kill "${pids[@]}" 2>/dev/null' EXIT

find_window() { timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
wait_file() { for _ in $(seq 200); do [[ -s "$1" ]] && return 0; sleep 0.05; done; return 1; }
geometry() { xdotool getwindowgeometry "$1" | awk '/Geometry/ { split($2, s, "x"); print s[1] "x" s[2] }'; }
# F12 in window $1: the path the viewer prints, the n-th line of its output file $2.
screenshot() {
  local before
  before=$(wc -l <"$2")
  xdotool key --window "$1" F12
  for _ in $(seq 200); do (($(wc -l <"$2") > before)) && break; sleep 0.05; done
  local shot
  shot=$(tail -n 1 "$2")
  wait_file "$shot" || fail "F12 wrote nothing (output: $(cat "$2"))"
  echo "$shot"
}
freeze() {
  xdotool keydown --window "$1" minus keydown --window "$1" r
  sleep 0.3
  xdotool keyup --window "$1" r keyup --window "$1" minus
  sleep 0.3
}

QBZVIEW_CAPTURE="$work/window.raw" QBZVIEW_CAPTURE_FRAME=$capture_frame QBZVIEW_CAPTURE_WINDOW="$work/window.ppm" \
  "$viewer" --scale 2 "$panorama" >"$work/first.out" 2>"$work/first.log" &
first=$!
pids+=("$first")
window=$(find_window "qbzview - $name")
[[ -n "$window" ]] || fail "no window named 'qbzview - $name' appeared ($(cat "$work/first.log"))"
[[ $(geometry "$window") == 480x640 ]] || fail "window is $(geometry "$window"), expected 480x640 at --scale 2"
wait_file "$work/window.raw" || fail "frame $capture_frame was not captured ($(cat "$work/first.log"))"
cmp -s "$work/window.raw" "$work/headless.raw" || fail "the window's frame $capture_frame differs from the headless screen"
echo "the window shows the headless picture of frame $capture_frame"

# One window per panorama: the same again ends at once, another opens its own.
timeout 10 "$viewer" "$panorama" 2>"$work/second.log" || fail "the second start of the same panorama failed"
[[ $(xdotool search --onlyvisible --name '^qbzview - ' | wc -l) -eq 1 ]] || fail "the same panorama opened a second window"
"$viewer" "$work/card.qbz" 2>"$work/card.log" &
card=$!
pids+=("$card")
card_window=$(find_window "qbzview - card.qbz")
[[ -n "$card_window" ]] || fail "a second panorama opened no window of its own ($(cat "$work/card.log"))"
xdotool key --window "$card_window" q
timeout 10 tail --pid="$card" -f /dev/null || fail "Q did not end the viewer"
wait "$card" || fail "Q ended the viewer with a failure ($(cat "$work/card.log"))"
echo "one window per panorama; Q quits"

# F12: the exact screen, next to the panorama.
freeze "$window"
shot=$(screenshot "$window" "$work/first.out")
[[ $(dirname "$shot") == $(dirname "$(readlink -f "$panorama")") ]] || fail "the screenshot $shot is not next to the panorama"
cmp -s "$shot" "$work/still.png" || fail "F12's $shot differs from the headless screen"
echo "F12 saved the headless screen as $shot"

# Quick taps: W ten times, every one toggles the wire-frame.
for tap in $(seq 10); do
  xdotool key --window "$window" w
  sleep 0.2
  shot=$(screenshot "$window" "$work/first.out")
  if ((tap % 2 == 0)); then cmp -s "$shot" "$work/still.png"; else ! cmp -s "$shot" "$work/still.png"; fi ||
    fail "tap $tap of W was lost"
done
echo "W toggled the wire-frame 10 times out of 10"

# Three wheel notches up: three zoom-key taps.
xdotool mousemove --window "$window" 240 320 click --repeat 3 --delay 0 4
sleep 0.3
cmp -s "$(screenshot "$window" "$work/first.out")" "$work/zoomed.png" || fail "three wheel notches did not zoom three taps"
echo "the wheel zooms one tap per notch"

# A resized window letterboxes the screen at the largest whole factor, centred.
xdotool windowsize --sync "$window" 700 500
# The viewer sees the new size on its next frame: on a busy machine that can
# take a while, so look again until it shows (or give up after about 10 s).
for _ in $(seq 40); do
  sleep 0.25
  screenshot "$window" "$work/first.out" >/dev/null
  box=$(tail -c $((700 * 500 * 3)) "$work/window.ppm" | od -An -v -tu1 -w3 |
    awk '{ i = NR - 1; if ($1 + $2 + $3 > 0) { x = i % 700; y = int(i / 700);
           if (n++ == 0 || x < x0) x0 = x; if (x > x1) x1 = x; if (n == 1 || y < y0) y0 = y; if (y > y1) y1 = y } }
         END { print x0, y0, x1 - x0 + 1, y1 - y0 + 1 }')
  [[ "$box" == "230 90 240 320" ]] && break
done
[[ "$box" == "230 90 240 320" ]] || fail "in a 700x500 window the picture lies at $box (x y w h), expected 230 90 240 320"
echo "a resized window keeps the aspect: $box"

# Escape after F11 leaves full screen (however the window manager shows it), the next quits.
xdotool key --window "$window" F11
sleep 0.3
xdotool key --window "$window" Escape
sleep 0.3
kill -0 "$first" 2>/dev/null || fail "Escape in full screen quit instead of leaving full screen"
xdotool key --window "$window" Escape
timeout 10 tail --pid="$first" -f /dev/null || fail "Escape did not end the viewer"
wait "$first" || fail "the viewer ended with a failure after Escape ($(cat "$work/first.log"))"
echo "Escape leaves full screen first, then quits"

# A picture dropped on the window: the viewer starts again on it.
QBZVIEW_DROP="$work/ramp.jpg" "$viewer" "$work/card.qbz" >"$work/drop.out" 2>"$work/drop.log" &
dropped=$!
pids+=("$dropped")
window=$(find_window "qbzview - ramp.jpg")
[[ -n "$window" ]] || fail "the dropped picture was not opened ($(cat "$work/drop.log"))"
freeze "$window"
cmp -s "$(screenshot "$window" "$work/drop.out")" "$work/ramp.png" || fail "the dropped JPEG differs from it packed"
xdotool key --window "$window" q
timeout 10 tail --pid="$dropped" -f /dev/null || fail "Q did not end the restarted viewer"
wait "$dropped" || fail "the restarted viewer failed ($(cat "$work/drop.log"))"
echo "a dropped JPEG restarts the viewer on it, the same screen as packed"
