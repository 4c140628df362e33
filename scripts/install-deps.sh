#!/usr/bin/env bash
# Installs the Debian packages a task needs, only those that are missing.
# Usage: scripts/install-deps.sh GROUP...   (groups: build, desktop, test, arm)
set -euo pipefail

declare -A GROUPS_PACKAGES=(
  [build]="build-essential cmake ninja-build pkg-config zlib1g-dev libpng-dev libjpeg62-turbo-dev libcli11-dev libgtest-dev libgmock-dev libbenchmark-dev"
  [desktop]="libsdl2-dev"
  [test]="clang libclang-rt-14-dev xvfb xdotool xauth valgrind"
  [arm]="g++-arm-linux-gnueabi qemu-user"
)

wanted=()
for group in "$@"; do
  [[ -n "${GROUPS_PACKAGES[$group]+set}" ]] || { echo "install-deps: unknown group '$group'" >&2; exit 2; }
  for package in ${GROUPS_PACKAGES[$group]}; do wanted+=("$package"); done
done

missing=()
for package in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
