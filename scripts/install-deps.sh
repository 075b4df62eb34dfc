#!/usr/bin/env bash
# Installs the Debian packages a make target needs: without an argument what
# building and `make test` need (the release tests among them), with "run"
# also what `make run` needs to turn its screenshots into PNG files.
# Quick when everything is there: one dpkg query, no apt-get.
#
#   scripts/install-deps.sh [run]
set -euo pipefail

packages=(
  cmake ninja-build make g++ clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  googletest wine64 fonts-wine fonts-liberation xvfb socat procps python3 wixl msitools faketime
)
[ "${1:-}" = run ] && packages+=(imagemagick)

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
