#!/usr/bin/env bash
# Runs a command (normally ctest) inside a test session: a private Wine prefix
# under the build tree, a virtual X display, and three pty pairs mapped as COM
# ports (COM7 <-> COM8, COM12 <-> COM13 numbered as USB adapters are, and
# COM4 <-> COM3 whose cable a test can pull through $VRX_RIG_DIR/pair3.unplug),
# and COM31, listed with no device behind it as an unplugged adapter is; with
# one wineserver kept alive for the whole run. Everything it starts is ended
# when the command returns.
#
#   scripts/test-session.sh BUILD_DIR command args...
set -uo pipefail
export BUILD_DIR="$(cd "$1" && pwd)"; shift
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
# shellcheck disable=SC1091
. "$here/wine-lib.sh"

# Extra COM ports for one run, e.g. VRX_EXTRA_PORTS="COM9=/path/to/link": the
# benchmarks point them at a simulated unit of their own. Unmapped at the end,
# so later sessions list the usual ports only.
EXTRA_PORTS=(${VRX_EXTRA_PORTS:-})

# The system processes come up once, under the keeper, with their output in a
# log; then no test program's output pipe is held open after it ends. Without
# the keeper (not built yet) each test program brings them up itself.
KEEPER_BIN="$BUILD_DIR/win/session-keeper.exe"
start_session_keeper() {
  [ -f "$KEEPER_BIN" ] || return 0
  local log="$RIG_DIR/keeper.log" i
  rm -f "$log"
  "$WINE_BIN" "$KEEPER_BIN" </dev/null >"$log" 2>&1 &
  for i in $(seq 1 600); do
    grep -q ready "$log" 2>/dev/null && return 0
    sleep 0.05
  done
  # A desktop left half up would hold the next program's pipe: start clean.
  echo "the session keeper did not start; going on without it" >&2
  restart_wineserver
}

cleanup() {
  stop_wineserver
  [ -n "${SIM_PID:-}" ] && kill "$SIM_PID" 2>/dev/null
  stop_helpers
  if [ ${#EXTRA_PORTS[@]} -gt 0 ]; then
    for mapping in "${EXTRA_PORTS[@]}"; do unmap_com_port "${mapping%%=*}"; done
    stop_wineserver
  fi
  rm -f "$RIG_DIR/session.env"
}
trap cleanup EXIT INT TERM

ensure_prefix || exit 1
start_xvfb || exit 1
start_pty_pair pair1 || exit 1
start_pty_pair pair2 || exit 1
start_unpluggable_pty_pair pair3 || exit 1
stop_wineserver
# The simulated unit for the end-to-end tests, when it has been built: COM2.
# Tests reset it through its TCP port and read what it received from its
# transcript.
SIM_BIN="$BUILD_DIR/native/tools/vrx-sim/vrx-sim"
# A TCP port nobody listens on, so that sessions of several build trees can
# run side by side.
SIM_TCP_PORT=10240
while (exec 3<>"/dev/tcp/127.0.0.1/$SIM_TCP_PORT") 2>/dev/null; do SIM_TCP_PORT=$((SIM_TCP_PORT + 1)); done
if [ -x "$SIM_BIN" ]; then
  rm -f "$RIG_DIR/sim-transcript.txt"
  "$SIM_BIN" "$RIG_DIR/sim-tty" --tcp "$SIM_TCP_PORT" --transcript "$RIG_DIR/sim-transcript.txt" \
    >"$RIG_DIR/sim.log" 2>&1 &
  SIM_PID=$!
  for _ in $(seq 1 100); do [ -e "$RIG_DIR/sim-tty" ] && break; sleep 0.05; done
  map_com_port COM2 "$RIG_DIR/sim-tty"
fi
map_com_port COM7 "$RIG_DIR/pair1-a"
map_com_port COM8 "$RIG_DIR/pair1-b"
map_com_port COM12 "$RIG_DIR/pair2-a"
map_com_port COM13 "$RIG_DIR/pair2-b"
map_com_port COM4 "$RIG_DIR/pair3-a"
map_com_port COM3 "$RIG_DIR/pair3-b"
for mapping in "${EXTRA_PORTS[@]}"; do map_com_port "${mapping%%=*}" "${mapping#*=}"; done
# Xvfb runs no window manager; Wine then waits 2 s for every top-level window
# it destroys. Unmanaged windows are destroyed at once.
set_windows_managed N
set_font_replacements
restart_wineserver
list_port_without_device COM31
start_session_keeper

cat >"$RIG_DIR/session.env" <<ENV
export DISPLAY='$DISPLAY'
export VRX_TEST_PORT=COM7
export VRX_TEST_PEER=COM8
export VRX_TEST_PORT2=COM12
export VRX_TEST_PEER2=COM13
export VRX_TEST_DEAD_PORT=COM31
export VRX_TEST_UNPLUG_PORT=COM4
export VRX_TEST_UNPLUG_PEER=COM3
export VRX_RIG_DIR='$RIG_DIR'
export VRX_SIM_PORT=COM2
export VRX_SIM_TCP_PORT=$SIM_TCP_PORT
export VRX_SIM_TRANSCRIPT='$RIG_DIR/sim-transcript.txt'
ENV
# shellcheck disable=SC1091
. "$RIG_DIR/session.env"

"$@"
