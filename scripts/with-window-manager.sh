#!/usr/bin/env bash
# Runs one Windows test program of the test session with a window manager on
# the session's display, as an operator's desktop has one: openbox, and Wine
# handing that program's windows to it (Managed=Y for that program alone; the
# other programs keep their unmanaged windows). The window manager is ended
# when the program returns; its exit code is the program's.
#
#   scripts/with-window-manager.sh PROGRAM.exe [ARGS...]
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
: "${BUILD_DIR:=$(cd "$here/.." && pwd)/build}"
export BUILD_DIR
# shellcheck disable=SC1091
. "$here/wine-lib.sh"
[ -n "${DISPLAY:-}" ] || { echo "with-window-manager: no display; run the tests with 'make test'" >&2; exit 2; }
command -v openbox >/dev/null || { echo "with-window-manager: no openbox (scripts/install-deps.sh windows)" >&2; exit 2; }

program="$1"
"$WINE_BIN" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$program")\\X11 Driver" /v Managed /t REG_SZ \
  /d Y /f >/dev/null 2>&1
openbox --sm-disable >"$RIG_DIR/openbox.log" 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null; wait "$wm" 2>/dev/null' EXIT
# The window manager is up once it has named itself on the root window.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
"$here/wine-exec.sh" "$@"
