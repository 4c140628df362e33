#!/usr/bin/env bash
# Builds the viewer and shows the bundled sample panorama.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
scripts/install-deps.sh build desktop
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j "$jobs" --target qbzview
mkdir -p build/screens
build/release/bin/qbzview --headless --frames 2 --screenshot build/screens/viewer.png "$@" || true
