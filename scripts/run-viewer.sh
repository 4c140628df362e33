#!/usr/bin/env bash
# Builds the viewer and shows the bundled sample panorama (NASA's Husband
# Hill, packed into a self-contained viewer): in a window where a display
# exists, otherwise as a headless screenshot. Options are passed to qbzview.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
scripts/install-deps.sh build desktop
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs" --target qbzview sample

viewer=build/release/bin/qbzview-sample
if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then
  exec "$viewer" "$@"
fi
screenshot=build/release/sample-view.png
"$viewer" --headless --frames 7 --screenshot "$screenshot" "$@"
echo "No display here: the viewer ran headless and wrote $screenshot"
