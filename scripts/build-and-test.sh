#!/usr/bin/env bash
# `make test`: installs what it needs, builds the three trees and runs every
# test. On a fresh machine the Windows side (MinGW-w64, Wine, the rig's
# helpers, then the private Wine prefix) is installed and made in the
# background while the native and fuzz trees build and run their cases, which
# need none of it; the Windows tree then builds and its cases run in the test
# session with the cores to themselves. Every phase runs; any failure fails.
#
#   scripts/build-and-test.sh BUILD_DIR JOBS
set -uo pipefail
mkdir -p "$1"
export BUILD_DIR="$(cd "$1" && pwd)"
jobs="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck disable=SC1091
. "$here/wine-lib.sh"

"$here/install-deps.sh" native || exit 1
windows_log="$RIG_DIR/windows-side.log"
( "$here/install-deps.sh" windows && ensure_prefix ) >"$windows_log" 2>&1 &
windows_pid=$!
# An install is never cut off halfway: whatever fails here, it is waited for.
trap 'wait "$windows_pid" 2>/dev/null' EXIT

status=0
for tree in native fuzz; do
  { "$here/configure-tree.sh" "$BUILD_DIR" "$tree" && cmake --build "$BUILD_DIR/$tree" -j "$jobs"; } || status=1
done
for tree in native fuzz; do
  echo "== $tree tests"
  ctest --test-dir "$BUILD_DIR/$tree" --output-on-failure -j "$jobs" || status=1
done

wait "$windows_pid"
windows_status=$?
trap - EXIT
cat "$windows_log"
[ "$windows_status" -eq 0 ] || { echo "installing the Windows side or making the Wine prefix failed" >&2; exit 1; }
{ "$here/configure-tree.sh" "$BUILD_DIR" win && cmake --build "$BUILD_DIR/win" -j "$jobs"; } || exit 1
printf 'subdirs("native" "fuzz" "win")\n' >"$BUILD_DIR/CTestTestfile.cmake"
echo "== win tests"
"$here/test-session.sh" "$BUILD_DIR" ctest --test-dir "$BUILD_DIR/win" --output-on-failure -j "$jobs" || status=1
exit "$status"
