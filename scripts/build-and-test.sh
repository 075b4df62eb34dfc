#!/usr/bin/env bash
# `make test` after the packages are there and the trees configured: builds
# the three trees while the private Wine prefix is made beside them (it takes
# its own time, mostly waiting on Wine), then runs every test in one session.
#
#   scripts/build-and-test.sh BUILD_DIR JOBS
set -uo pipefail
export BUILD_DIR="$(cd "$1" && pwd)"
jobs="$2"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck disable=SC1091
. "$here/wine-lib.sh"

( ensure_prefix >"$RIG_DIR/prefix.log" 2>&1 ) &
prefix_pid=$!
trap 'kill "$prefix_pid" 2>/dev/null' EXIT

status=0
for tree in native fuzz win; do
  cmake --build "$BUILD_DIR/$tree" -j "$jobs" || status=1
done
printf 'subdirs("native" "fuzz" "win")\n' >"$BUILD_DIR/CTestTestfile.cmake"
wait "$prefix_pid" || { echo "making the Wine prefix failed:" >&2; cat "$RIG_DIR/prefix.log" >&2; status=1; }
trap - EXIT
[ "$status" -eq 0 ] || exit "$status"
exec "$here/test-session.sh" "$BUILD_DIR" "$here/run-tests.sh" "$BUILD_DIR" "$jobs"
