#!/usr/bin/env bash
# `make dist`: the release files for Windows in dist/.
#
#   scripts/dist.sh BUILD_DIR
#
# Builds the program in BUILD_DIR/release (Release, static runtime, no time
# stamp, no build path) and packs it with scripts/package-release.sh into dist/:
#   vrx2600-control-VERSION-win64.zip   the program, README.txt, SHA256SUMS
#   vrx2600-control-VERSION-x64.msi     the installer
#   SHA256SUMS                          of the two
# signed when VRX_SIGN_PFX and VRX_SIGN_PASSWORD_FILE name a key (and
# VRX_SIGN_TIMESTAMP_URL, if set, a time-stamping server; see README,
# "Signing a release").
# VERSION is project(VERSION) of CMakeLists.txt, with "-dirty" in the file
# names when the tree has uncommitted changes. Every date comes from the last
# commit (SOURCE_DATE_EPOCH), the signing time included when no server is
# named, so two checkouts of one commit give the same files. On failure dist/
# is left as it was.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mkdir -p "$1"
build="$(cd "$1" && pwd)"
release="$build/release"
cd "$root"

git rev-parse --verify -q HEAD >/dev/null ||
  { echo "make dist needs a git checkout with a commit: the release's dates are the last commit's" >&2; exit 1; }
export SOURCE_DATE_EPOCH="$(git log -1 --format=%ct)"
dirty=
if [ -n "$(git status --porcelain --untracked-files=normal)" ]; then
  dirty=-dirty
  echo "the tree has uncommitted changes: the file names say -dirty"
fi

# Paths of this checkout appear in the objects as "." only.
path_map="-ffile-prefix-map=$root=."
cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_C_FLAGS="$path_map" -DCMAKE_CXX_FLAGS="$path_map" \
  -DCMAKE_EXE_LINKER_FLAGS_RELEASE="-Wl,--no-insert-timestamp" >"$build/release-configure.log" ||
  { cat "$build/release-configure.log" >&2; exit 1; }
cmake --build "$release" --target vrx2600-control
version="$(sed -n 's/^#define VRX_VERSION_TEXT "\(.*\)"$/\1/p' "$release/generated/vrx_version.h")"
[ -n "$version" ] || { echo "no version in $release/generated/vrx_version.h" >&2; exit 1; }

stage="$(mktemp -d "$build/dist.XXXXXX")"
finish() {
  local code=$?
  rm -rf "$stage"
  [ "$code" -eq 0 ] || echo "make dist failed (see above); dist/ is as it was" >&2
}
trap finish EXIT
scripts/package-release.sh "$release/vrx2600-control.exe" "$version" "$version$dirty" "$stage/dist"

rm -rf "$root/dist"
mv "$stage/dist" "$root/dist"
echo "dist/ (version $version$dirty, dates of commit $(git rev-parse --short HEAD)):"
(cd "$root/dist" && sha256sum -- *.zip *.msi)
