#!/usr/bin/env bash
# Installs the Debian packages a make target needs:
#   native   the compilers and libraries of the native and fuzz trees
#   windows  MinGW-w64, Wine and the test rig's helpers, and the release tools
#   run      the windows part and ImageMagick for `make run`'s screenshots
#   (none)   native and windows
# Quick when everything is there: one dpkg query, no apt-get.
#
#   scripts/install-deps.sh [native|windows|run]
set -euo pipefail

native=(cmake ninja-build make g++ clang libclang-rt-14-dev googletest libgtest-dev procps python3)
windows=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev wine64 fonts-wine fonts-liberation xvfb socat
  openbox x11-utils wixl msitools faketime osslsigncode openssl)
case "${1:-}" in
  native) packages=("${native[@]}") ;;
  windows) packages=("${windows[@]}") ;;
  run) packages=("${native[@]}" "${windows[@]}" imagemagick) ;;
  "") packages=("${native[@]}" "${windows[@]}") ;;
  *) echo "usage: $0 [native|windows|run]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
