#!/usr/bin/env bash
# The Win32 window of qbzview.exe under Wine, inside an X server (run by
# scripts/test-windows.sh through xvfb-run). Its picture is read back
# through the program's own F12 screenshot, not from the X server: Wine may
# widen 5-6-5 pixels differently from Windows.
#
# Environment: QBZ_WINDOW_WORK (a folder with sample.qbz, mars.exe and
# mars-linux, the same self-contained viewer for Linux), QBZ_VIEWER
# (qbzview.exe), QBZ_LINUX_VIEWER (the Linux qbzview), WINEPREFIX.
set -uo pipefail

fail() { echo "windows window: FAIL: $*" >&2; exit 1; }

work=${QBZ_WINDOW_WORK:?} viewer=${QBZ_VIEWER:?} linux=${QBZ_LINUX_VIEWER:?}
cd "$work" || fail "no folder $work"
wineserver -p 2>/dev/null || true  # (or the one already running for this prefix)

# Wine's own complaints are not the program's output.
program_lines() { grep -Ev '^(wine: |[0-9a-f]{4}:|it looks like wine32|multiarch needs|execute "dpkg|apt-get install wine32)' "$1"; }

find_window() {  # TITLE_PATTERN: prints the id of the visible window with that title
  timeout 60 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Presses F12 and prints the frame number of screenshot number COUNT in OUT.
screenshot() {  # WINDOW OUT COUNT
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key F12
  for _ in $(seq 600); do
    local line
    line=$(grep "saved to" "$2" | sed -n "${3}p")
    if [[ -n "$line" ]]; then
      sed -E 's/.*frame ([0-9]+) saved.*/\1/' <<<"$line"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

ends_with() {  # PID STATUS_WANTED WHAT
  for _ in $(seq 300); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$1" 2>/dev/null && fail "$3 did not end the viewer"
  wait "$1"
  local status=$?
  [[ $status -eq $2 ]] || fail "the viewer ended with status $status after $3"
}

# ---- the window, its picture, an arrow key
wine "$viewer" --scale 2 sample.qbz >first.out 2>first.err &
first=$!
trap 'kill "$first" 2>/dev/null' EXIT
window=$(find_window '^qbzview - sample\.qbz$')
[[ -n "$window" ]] || fail "no window titled \"qbzview - sample.qbz\" appeared ($(program_lines first.err | head -n 3))"
geometry=$(xdotool getwindowgeometry "$window" | awk '/Geometry/ { print $2 }')
[[ "$geometry" == 480x640 ]] || fail "the window is $geometry, expected 480x640 at --scale 2"
echo "window of 480 x 640 at --scale 2"

frame=$(screenshot "$window" first.out 1) || fail "F12 saved no screenshot ($(cat first.out first.err | head -n 3))"
"$linux" --headless --frames "$frame" --screenshot "headless-$frame.png" sample.qbz || fail "headless run failed"
cmp -s "sample-$frame.png" "headless-$frame.png" ||
  fail "the window's frame $frame differs from the headless screen of that frame"
echo "the window shows the headless picture (frame $frame, through F12)"

xdotool keydown Right
sleep 1
xdotool keyup Right
sleep 0.3
turned=$(screenshot "$window" first.out 2) || fail "the second F12 saved nothing"
"$linux" --headless --frames "$turned" --screenshot "untouched-$turned.png" sample.qbz || fail "headless run failed"
cmp -s "sample-$turned.png" "untouched-$turned.png" && fail "the right arrow did not change the view (frame $turned)"
echo "the right arrow turned the view (frame $turned differs from the untouched view)"

# ---- a second start of the same panorama
timeout 60 wine "$viewer" --scale 2 sample.qbz >second.out 2>second.err
status=$?
[[ $status -eq 0 ]] || fail "the second start ended with status $status ($(program_lines second.err | head -n 2))"
kill -0 "$first" 2>/dev/null || fail "the first viewer ended when the second started"
windows=$(xdotool search --onlyvisible --name '^qbzview - sample\.qbz$' | wc -l)
[[ $windows -eq 1 ]] || fail "$windows viewer windows are open, expected 1"
echo "a second start brought the first forward and ended with status 0"

cp sample.qbz other.qbz
wine "$viewer" --scale 1 other.qbz >other.out 2>other.err &
other=$!
other_window=$(find_window '^qbzview - other\.qbz$')
[[ -n "$other_window" ]] || fail "a different panorama opened no window of its own ($(program_lines other.err | head -n 2))"
xdotool windowfocus --sync "$other_window" 2>/dev/null
xdotool key Escape
ends_with "$other" 0 "Escape in the second panorama's window"
echo "a different panorama opened a window of its own"

xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key Escape
ends_with "$first" 0 Escape
trap - EXIT
echo "Escape ended the viewer with status 0"

# ---- a missing panorama
timeout 60 wine "$viewer" "$work/no-such.qbz" >missing.out 2>missing.err
status=$?
[[ $status -eq 1 ]] || fail "a missing panorama ended with status $status, expected 1"
lines=$(program_lines missing.err | wc -l)
[[ $lines -eq 1 ]] || fail "a missing panorama gave $lines lines, expected 1: $(program_lines missing.err)"
grep -q "no-such.qbz" missing.err || fail "the line does not name the panorama: $(program_lines missing.err)"
echo "a missing panorama ended with status 1 and one line"

# ---- a self-contained .exe made by qbzpack, without a file argument
wine ./mars.exe >mars.out 2>mars.err &
mars=$!
trap 'kill "$mars" 2>/dev/null' EXIT
window=$(find_window '^mars\.exe$')
[[ -n "$window" ]] || fail "the self-contained viewer showed no window titled mars.exe ($(program_lines mars.err | head -n 3))"
frame=$(screenshot "$window" mars.out 1) || fail "F12 in the self-contained viewer saved nothing"
./mars-linux --headless --frames "$frame" --screenshot "mars-linux-$frame.png" || fail "Linux self-contained run failed"
cmp -s "mars-$frame.png" "mars-linux-$frame.png" ||
  fail "the self-contained .exe's frame $frame differs from the Linux self-contained viewer's"
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key Escape
ends_with "$mars" 0 "Escape in the self-contained viewer"
trap - EXIT
echo "the self-contained .exe shows its panorama (frame $frame as on Linux)"
