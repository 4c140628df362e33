#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those that are missing.
# Usage: scripts/install-deps.sh GROUP...   (groups: build, desktop, test, arm, windows)
set -euo pipefail

declare -A GROUPS_PACKAGES=(
  [build]="build-essential cmake ninja-build pkg-config zlib1g-dev libpng-dev libjpeg62-turbo-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev"
  [desktop]="libsdl2-dev"
  [test]="clang libclang-rt-14-dev xvfb xdotool xauth valgrind"
  [arm]="g++-arm-linux-gnueabi qemu-user libgtest-dev"
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

wanted=()
armel=0
for group in "$@"; do
  [[ -n "${GROUPS_PACKAGES[$group]+set}" ]] || { echo "install-deps: unknown group '$group'" >&2; exit 2; }
  for package in ${GROUPS_PACKAGES[$group]}; do wanted+=("$package"); done
  [[ "$group" == arm ]] && armel=1
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
