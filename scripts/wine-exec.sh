#!/usr/bin/env bash
# CTest's emulator for the Windows tree: runs one Windows program under Wine in
# the build tree's private prefix. The test session (scripts/test-session.sh)
# has started the display, the pty pairs and the prefix's server beforehand.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
: "${BUILD_DIR:=$(cd "$here/.." && pwd)/build}"
if [ -z "${DISPLAY:-}" ] || [ ! -f "$BUILD_DIR/rig/session.env" ]; then
  echo "wine-exec: no test session; run the tests with 'make test'" >&2
  exit 2
fi
# shellcheck disable=SC1091
. "$BUILD_DIR/rig/session.env"
export WINEPREFIX="$BUILD_DIR/wineprefix" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
exec /usr/lib/wine/wine64 "$@"
