#!/usr/bin/env bash
# Builds the viewer and shows a panorama: the one given (a QBZ container or an
# equirectangular PNG/JPEG picture), else the bundled sample (NASA's Husband
# Hill, packed into a self-contained viewer); in a window where a display
# exists, otherwise as a headless screenshot. Options are passed to qbzview.
# Usage: scripts/run-viewer.sh [OPTIONS] [PANORAMA]
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
scripts/install-deps.sh build desktop
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs" --target qbzview sample

# The self-contained sample shows its own panorama whatever it is given, so a
# panorama of the user's goes to the plain viewer.
viewer=build/release/bin/qbzview-sample
if (($# > 0)); then
  last=${*: -1}
  before=$(($# > 1 ? $# - 1 : 0))
  option=${!before:-}
  [[ "$last" == -* || "$option" =~ ^--(scale|fps|device|frames|events|dump-display|screenshot)$ ]] ||
    viewer=build/release/bin/qbzview
fi
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$viewer" "$@"
fi
screenshot=build/release/sample-view.png
"$viewer" --headless --frames 7 --screenshot "$screenshot" "$@"
echo "No display here: the viewer ran headless and wrote $screenshot"
