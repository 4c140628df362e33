#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those that are missing.
# Usage: scripts/install-deps.sh GROUP...   (groups: build, desktop, test, arm, bench, web, windows)
set -euo pipefail

declare -A GROUPS_PACKAGES=(
  [build]="build-essential cmake ninja-build pkg-config zlib1g-dev libpng-dev libjpeg62-turbo-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev"
  [desktop]="libsdl2-dev"
  [test]="clang libclang-rt-14-dev xvfb xdotool xauth evilwm libjpeg-turbo-progs valgrind"
  [arm]="g++-arm-linux-gnueabi qemu-user libgtest-dev"
  [bench]="hugin-tools time"
  [web]="emscripten chromium dpkg-dev googletest"
  [windows]="mingw-w64 libz-mingw-w64-dev googletest libcli11-dev wine wine64 xvfb xdotool xauth"
)

# The ARM build's libraries come from Debian's armel architecture. They are
# unpacked into a root of their own instead of being installed next to the
# amd64 ones: multiarch needs the two architectures of a library at exactly
# the same version, which the archive does not always offer at the same time.
# Static archives are linked, so nothing here is needed at run time.
ARMEL_ROOT=${QBZ_ARMEL_ROOT:-/opt/qbz-armel}
ARMEL_PACKAGES="zlib1g-dev:armel libpng-dev:armel libcli11-dev"

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi

install_armel_root() {
  local stamp="$ARMEL_ROOT/.packages"
  if [[ -f "$stamp" && "$(cat "$stamp")" == "$ARMEL_PACKAGES" ]]; then return 0; fi
  if ! dpkg --print-foreign-architectures | grep -qx armel; then $sudo dpkg --add-architecture armel; fi
  if ! apt-cache show zlib1g-dev:armel >/dev/null 2>&1; then $sudo apt-get update -qq; fi
  echo "install-deps: unpacking $ARMEL_PACKAGES into $ARMEL_ROOT"
  local download
  download=$(mktemp -d)
  chmod 755 "$download"
  # shellcheck disable=SC2086
  (cd "$download" && apt-get download -qq -o APT::Sandbox::User="$(id -un)" $ARMEL_PACKAGES)
  local staging="$ARMEL_ROOT.new"
  $sudo rm -rf "$staging"
  $sudo mkdir -p "$staging"
  for deb in "$download"/*.deb; do $sudo dpkg-deb -x "$deb" "$staging"; done
  rm -rf "$download"
  echo "$ARMEL_PACKAGES" | $sudo tee "$staging/.packages" >/dev/null
  $sudo rm -rf "$ARMEL_ROOT"
  $sudo mv "$staging" "$ARMEL_ROOT"
}

# The web build compiles zlib and libpng for WebAssembly from Debian's own
# sources (emscripten's ports would download them), and its browser test
# drives Debian's chromium through puppeteer-core from npm (without the
# browser build that puppeteer would download).
WEB_ROOT=${QBZ_WEB_ROOT:-/opt/qbz-web}
WEB_SOURCES="zlib libpng1.6"
PUPPETEER_VERSION=24.43.1  # the last release that runs on node 20

install_web_root() {
  local stamp="$WEB_ROOT/src/.packages"
  if [[ ! -f "$stamp" || "$(cat "$stamp")" != "$WEB_SOURCES" ]]; then
    local list=/etc/apt/sources.list.d/qbz-deb-src.sources
    if [[ ! -f $list ]]; then
      # Source packages of the main archive's suites (its first stanza); the
      # security archive's mirror does not always carry sources.
      awk 'BEGIN { RS = ""; ORS = "\n" } NR == 1' /etc/apt/sources.list.d/debian.sources |
        sed 's/^Types: deb$/Types: deb-src/' | $sudo tee $list >/dev/null
      $sudo apt-get update -qq
    fi
    echo "install-deps: fetching the sources of $WEB_SOURCES into $WEB_ROOT/src"
    local staging="$WEB_ROOT/src.new"
    $sudo rm -rf "$staging"
    $sudo mkdir -p "$staging"
    # shellcheck disable=SC2086
    (cd "$staging" && $sudo apt-get source -qq -o APT::Sandbox::User=root $WEB_SOURCES >/dev/null)
    $sudo rm -f "$staging"/*.dsc "$staging"/*.tar.* "$staging"/*.diff.gz
    echo "$WEB_SOURCES" | $sudo tee "$staging/.packages" >/dev/null
    $sudo rm -rf "$WEB_ROOT/src"
    $sudo mv "$staging" "$WEB_ROOT/src"
  fi
  # node (emscripten's dependency) may come with its own npm, as NodeSource's does.
  if ! command -v npm >/dev/null; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends npm >/dev/null
  fi
  if ! grep -qs "\"version\": \"$PUPPETEER_VERSION\"" "$WEB_ROOT/node_modules/puppeteer-core/package.json"; then
    echo "install-deps: installing puppeteer-core $PUPPETEER_VERSION into $WEB_ROOT"
    $sudo mkdir -p "$WEB_ROOT"
    PUPPETEER_SKIP_DOWNLOAD=1 $sudo npm install --silent --no-audit --no-fund --prefix "$WEB_ROOT" \
      "puppeteer-core@$PUPPETEER_VERSION" >/dev/null
  fi
}

wanted=()
armel=0
web=0
for group in "$@"; do
  [[ -n "${GROUPS_PACKAGES[$group]+set}" ]] || { echo "install-deps: unknown group '$group'" >&2; exit 2; }
  for package in ${GROUPS_PACKAGES[$group]}; do wanted+=("$package"); done
  [[ "$group" == arm ]] && armel=1
  [[ "$group" == web ]] && web=1
done

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if [[ ${#missing[@]} -gt 0 ]]; then
  echo "install-deps: installing ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [[ $armel -eq 1 ]]; then install_armel_root; fi
if [[ $web -eq 1 ]]; then install_web_root; fi
