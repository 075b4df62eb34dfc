#!/usr/bin/env bash
# `make run`: the control panel under Wine in the build tree's private prefix.
#
#   scripts/run.sh BUILD_DIR [PORT]
#
# The unit the panel talks to is COM3: the serial device PORT (for instance
# /dev/ttyUSB0), or, without PORT, the simulated unit vrx-sim, which is
# started here and stopped when the panel ends.
# With a display ($DISPLAY) the panel runs there until the operator closes it.
# Without one it runs on its own Xvfb: a short demonstration connects, picks
# inputs, mutes and opens the three settings windows, writes screenshots to
# BUILD_DIR/screenshots and prints the output pane.
set -uo pipefail
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [PORT]" >&2; exit 2; }
mkdir -p "$1"
export BUILD_DIR="$(cd "$1" && pwd)"
PORT="${2:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck disable=SC1091
. "$here/wine-lib.sh"

PROGRAM="$BUILD_DIR/win/vrx2600-control.exe"
DEMO="$BUILD_DIR/win/vrx-demo.exe"
SIM_BIN="$BUILD_DIR/native/tools/vrx-sim/vrx-sim"
UNIT_COM=COM3
SIM_LINK="$RIG_DIR/run-unit"
SHOTS="$BUILD_DIR/screenshots"
SIM_PID=

cleanup() {
  stop_wineserver
  [ -n "$SIM_PID" ] && kill "$SIM_PID" 2>/dev/null
  stop_helpers
}
trap cleanup EXIT
trap 'exit 130' INT TERM

for f in "$PROGRAM" "$DEMO" "$SIM_BIN"; do
  [ -f "$f" ] || { echo "no $f: build it with 'make run'" >&2; exit 1; }
done

# The simulated unit, its transcript beside the screenshots.
start_sim() {
  mkdir -p "$SHOTS"
  "$SIM_BIN" "$SIM_LINK" --transcript "$SHOTS/unit-transcript.txt" >"$RIG_DIR/run-sim.log" 2>&1 &
  SIM_PID=$!
  local i
  for i in $(seq 1 100); do [ -e "$SIM_LINK" ] && return 0; sleep 0.05; done
  echo "the simulated unit did not start (see $RIG_DIR/run-sim.log)" >&2
  return 1
}

# Maps the unit as $UNIT_COM; the prefix's server reads the mapping when it
# starts, so it is restarted afterwards.
attach_unit() {
  local device="$SIM_LINK"
  if [ -n "$PORT" ]; then
    [ -e "$PORT" ] || { echo "no serial device $PORT" >&2; return 1; }
    device="$PORT"
    echo "the unit: serial device $PORT, offered as $UNIT_COM in the Connect menu"
  else
    start_sim || return 1
    echo "the unit: the simulated VRX-2600, offered as $UNIT_COM in the Connect menu"
  fi
  stop_wineserver
  # The test sessions' pty pairs are gone; they are not offered.
  local test_port
  for test_port in COM2 COM4 COM5 COM6 COM7 COM8 COM12 COM13; do unmap_com_port "$test_port"; done
  map_com_port "$UNIT_COM" "$device"
  set_font_replacements
}

run_on_display() {
  # The desktop's window manager frames the panel's windows.
  set_windows_managed Y
  restart_wineserver
  echo "starting the panel on $DISPLAY"
  local code=0
  "$WINE_BIN" "$PROGRAM" || code=$?
  echo "the panel ended with exit code $code"
  return "$code"
}

run_demo() {
  # No window manager on Xvfb: unmanaged windows draw their own frames.
  set_windows_managed N
  restart_wineserver
  echo "no display: the panel runs on Xvfb $DISPLAY with a short demonstration"
  mkdir -p "$SHOTS"
  rm -f "$SHOTS"/*.bmp
  local code=0
  VRX_SIM_PORT="$UNIT_COM" "$WINE_BIN" "$DEMO" "$(winepath_of "$SHOTS")" || code=$?
  local shot
  for shot in "$SHOTS"/*.bmp; do
    [ -e "$shot" ] || continue
    convert "$shot" "${shot%.bmp}.png" && rm -f "$shot"
    echo "screenshot: ${shot%.bmp}.png"
  done
  [ -z "$PORT" ] && echo "what the simulated unit received and sent: $SHOTS/unit-transcript.txt"
  return "$code"
}

# A Unix path as the prefix's Z: drive shows it.
winepath_of() { printf 'Z:%s' "$1" | tr / '\\'; }

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
  run_demo
else
  run_on_display
fi
