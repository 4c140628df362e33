# shellcheck shell=bash disable=SC2154  # screens, native_label, other_label, other_runner: set by the caller
# Sourced by test-arm.sh and test-windows.sh: runs the native viewer and
# another build's viewer on the same inputs and compares the screens they
# leave, byte for byte.
#
# The caller sets `screens` (a folder with inputs/ and one folder for each of
# the two labels), `native_label`, `other_label` and `other_runner` (an array:
# what runs the other build's executables, such as qemu-arm or wine).
# compare_screens counts equal screens in `compared` and collects the rest in
# `failures`; finish_comparison reports them.

# Runs one headless viewer on one input and prints its exit code; the screen
# goes to DUMP. The input is INPUT_STEM.args (the whole command line besides
# --headless and --dump-display) or, without one, "--frames 40
# [--events INPUT_STEM.events] [INPUT_STEM.qbz]".
run_viewer() {  # RUNNER... -- VIEWER DUMP INPUT_STEM
  local runner=()
  while [[ $1 != -- ]]; do runner+=("$1"); shift; done
  shift
  local viewer=$1 dump=$2 stem=$3 args=(--frames 40)
  if [[ -f "$stem.args" ]]; then
    read -r -a args <"$stem.args"
  else
    [[ -f "$stem.events" ]] && args+=(--events "$stem.events")
    [[ -f "$stem.qbz" ]] && args+=("$stem.qbz")
  fi
  local status=0
  "${runner[@]}" "$viewer" --headless --dump-display "$dump" "${args[@]}" >"$dump.stdout" 2>"$dump.stderr" || status=$?
  echo "$status"
}

compared=0
failures=()
compare_screens() {  # NAME NATIVE_VIEWER OTHER_VIEWER INPUT_STEM
  local name=$1 native=$2 other=$3 stem=$4
  local native_dump=$screens/$native_label/$name.raw other_dump=$screens/$other_label/$name.raw
  local native_status other_status
  native_status=$(run_viewer -- "$native" "$native_dump" "$stem")
  other_status=$(run_viewer "${other_runner[@]}" -- "$other" "$other_dump" "$stem")
  # An emulator (Wine above all) now and then loses a program at its start:
  # a run that ends unlike the native one gets two more chances.
  local attempt
  for attempt in 2 3; do
    [[ $other_status == "$native_status" ]] && break
    other_status=$(run_viewer "${other_runner[@]}" -- "$other" "$other_dump" "$stem")
  done
  if [[ $native_status != "$other_status" ]]; then
    failures+=("$name: exit $native_status on $native_label, $other_status on $other_label")
  elif [[ $native_status != 0 ]]; then
    failures+=("$name: not rendered (exit $native_status: $(head -c 200 "$native_dump.stderr"))")
  elif cmp -s "$native_dump" "$other_dump"; then
    compared=$((compared + 1))
  else
    failures+=("$name: the screens differ ($(cmp "$native_dump" "$other_dump" | head -1 || true))")
  fi
}

# A tour of turning, tilting, zooming, dragging, wire-frame and back, for
# self-contained viewers: writes STEM.events and STEM.args (60 frames).
write_tour() {  # STEM
  printf '%s\n' "2 keydown 0x27" "12 keyup 0x27" "14 keydown 0x28" "20 keyup 0x28" "22 keydown 0xC3" \
    "30 keyup 0xC3" "32 down 120 160" "33 move 150 150" "40 up 150 150" "42 keydown 0x24" "43 keyup 0x24" \
    "44 keydown 0x25" "52 keyup 0x25" "53 keydown 0x24" "54 keyup 0x24" "54 keydown 0xC4" "58 keyup 0xC4" \
    >"$1.events"
  echo "--frames 60 --events $1.events" >"$1.args"
}

# Prints every failure and ends the script with 1, or says how many screens
# were the same; no screen compared at all is a failure too.
finish_comparison() {  # PREFIX
  local line
  for line in "${failures[@]}"; do echo "$1: MISMATCH $line" >&2; done
  [[ ${#failures[@]} -eq 0 ]] || exit 1
  if [[ $compared -eq 0 ]]; then
    echo "$1: no screen was rendered, so none was compared" >&2
    exit 1
  fi
  echo "$1: $compared screens identical on $other_label and $native_label"
}
