#!/usr/bin/env bash
# The viewer in the browser: builds build/web with Debian's emscripten (the
# viewer's page, qbzview.html, and the unit suite for WebAssembly), runs the
# unit suite under node, then opens the pages in headless Chromium from
# file:// and compares their canvases with the native headless host's screens.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
jobs=$((jobs > 2 ? 2 : jobs))

scripts/install-deps.sh build web
web_root=${QBZ_WEB_ROOT:-/opt/qbz-web}
# emscripten's link step needs Debian's acorn, which node does not find by itself.
export NODE_PATH=/usr/share/nodejs

# The native tools: qbzpack makes the pages, qbzview --headless the screens
# they must show.
native=${QBZ_NATIVE_BUILD:-build/release}
if [[ ! -f $native/build.ninja ]]; then
  cmake -S . -B "$native" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$native" -j "$jobs" --target qbzpack qbzview sample

echo "== web build (WebAssembly)"
emcmake cmake -S . -B build/web -G Ninja -DCMAKE_BUILD_TYPE=Release -DQBZ_WERROR=ON -DQBZ_BUILD_TOOLS=OFF \
  -DQBZ_BUILD_BENCH=OFF -DQBZ_BUILD_SDL=OFF -DQBZ_GTEST_FROM_SOURCE=ON -DQBZ_WEB_ROOT="$web_root" \
  -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node)" >/dev/null
cmake --build build/web -j "$jobs"

echo "== unit suite under node"
ctest --test-dir build/web --output-on-failure -j "$jobs"

echo "== pages in headless Chromium, from file://"
QBZ_WEB_BUILD=build/web QBZ_NATIVE_BUILD="$native" NODE_PATH="$web_root/node_modules" \
  node --test tests/web/pages.test.js
