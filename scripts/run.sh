#!/usr/bin/env bash
# `make run`: the control panel under Wine in the build tree's private prefix.
#
#   scripts/run.sh BUILD_DIR [PORT]
#
# PORT (e.g. /dev/ttyUSB0) is the unit's serial device; the panel sees it as
# COM3. With a display ($DISPLAY) the panel runs there until it is closed.
# Without one it runs on its own Xvfb, a screenshot of the main window is
# taken to BUILD_DIR/screenshots/main-window.png and the panel is closed.
set -uo pipefail
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [PORT]" >&2; exit 2; }
mkdir -p "$1"
export BUILD_DIR="$(cd "$1" && pwd)"
PORT="${2:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck disable=SC1091
. "$here/wine-lib.sh"

PROGRAM="$BUILD_DIR/win/vrx2600-control.exe"
UNIT_COM=COM3
TITLE="Tervane VRX 2600 Control"
SCREENSHOT="$BUILD_DIR/screenshots/main-window.png"
PANEL_PID=

cleanup() {
  if [ -n "$PANEL_PID" ]; then kill "$PANEL_PID" 2>/dev/null || true; fi
  stop_wineserver
  stop_helpers
}
trap cleanup EXIT
trap 'exit 130' INT TERM

[ -f "$PROGRAM" ] || { echo "no $PROGRAM: build it with 'make run'" >&2; exit 1; }

# Maps the unit's serial device as $UNIT_COM, or takes the mapping away when
# there is no device, so an old one is not offered. The prefix's server is
# restarted afterwards: it reads the port mapping when it starts.
attach_unit() {
  stop_wineserver
  if [ -n "$PORT" ]; then
    [ -e "$PORT" ] || { echo "no serial device $PORT" >&2; return 1; }
    echo "the unit's serial device $PORT is $UNIT_COM"
    map_com_port "$UNIT_COM" "$PORT"
  else
    echo "no PORT given: the panel offers the prefix's own serial ports"
    unmap_com_port "$UNIT_COM"
  fi
  restart_wineserver
}

start_panel() {
  "$WINE_BIN" "$PROGRAM" &
  PANEL_PID=$!
}

# Waits for the panel to end; its exit code is ours.
wait_panel() {
  local code=0
  wait "$PANEL_PID" || code=$?
  PANEL_PID=
  return "$code"
}

# The X window of the main window, once it is mapped.
find_main_window() {
  local i id
  for i in $(seq 1 150); do
    id="$(xdotool search --onlyvisible --name "^$TITLE\$" 2>/dev/null | head -n1)"
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$PANEL_PID" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}

# The whole screen, cut to the main window when its place is known.
take_screenshot() {
  local window="$1" geometry
  mkdir -p "$(dirname "$SCREENSHOT")"
  geometry="$(xdotool getwindowgeometry --shell "$window" 2>/dev/null)"
  local X Y WIDTH HEIGHT
  eval "$(printf '%s\n' "$geometry" | grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9]+$')"
  if [ -n "${WIDTH:-}" ] && [ -n "${HEIGHT:-}" ]; then
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$SCREENSHOT"
  else
    import -window root "$SCREENSHOT"
  fi
}

# Closes the panel as an operator would (Alt+F4); kills it if it stays.
close_panel() {
  local window="$1" i
  xdotool windowfocus --sync "$window" key alt+F4 2>/dev/null || true
  for i in $(seq 1 50); do
    kill -0 "$PANEL_PID" 2>/dev/null || return 0
    sleep 0.1
  done
  echo "the panel did not close; ending it" >&2
  kill "$PANEL_PID" 2>/dev/null || true
}

run_on_display() {
  echo "starting the panel on $DISPLAY"
  start_panel
  wait_panel
}

run_headless() {
  echo "no display: the panel runs on Xvfb $DISPLAY"
  start_panel
  local window
  window="$(find_main_window)" || { echo "the main window did not appear" >&2; return 1; }
  sleep 1   # let the window and its menu bar paint
  take_screenshot "$window" || return 1
  echo "screenshot: $SCREENSHOT"
  close_panel "$window"
  local code=0
  wait_panel || code=$?
  echo "the panel ended with exit code $code"
  return 0
}

# The prefix's server and desktop take the display they start with, so the
# display comes first.
HEADLESS=
if [ -z "${DISPLAY:-}" ]; then
  HEADLESS=1
  start_xvfb || exit 1
fi
ensure_prefix || exit 1
attach_unit || exit 1
if [ -n "$HEADLESS" ]; then
  run_headless
else
  run_on_display
fi
