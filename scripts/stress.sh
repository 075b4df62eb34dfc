#!/usr/bin/env bash
# `make stress`: the long stress runs of the control panel under Wine, each
# with its figures: connect/reconnect cycles, a pulled cable (the rig's pair
# and vrx-sim hanging up), vrx-sim's line noise, a long session through the
# output pane, and a soak: a shift's stream of replies with the operator's
# clicks. The report is also kept in BUILD_DIR/stress-report.txt.
# (`make test` runs the same measurements with small counts: ctest -L stress.)
#
#   scripts/stress.sh BUILD_DIR
# Counts: CYCLES (1000), UNPLUG_ROUNDS (5), HOSTILE_SECONDS (60), LONG_BYTES (1048576),
# SOAK_SECONDS (1800).
set -uo pipefail
build="$(cd "$1" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/.." && pwd)"
win="$build/win"
sim="$build/native/tools/vrx-sim/vrx-sim"
rig="$build/rig"
report="$build/stress-report.txt"
: "${CYCLES:=1000}" "${UNPLUG_ROUNDS:=5}" "${HOSTILE_SECONDS:=60}" "${LONG_BYTES:=1048576}" "${SOAK_SECONDS:=1800}"
# The simulated units get COM9, a port the test session leaves free.
SIM_PORT=COM9
COMEBACK_MS=3000

for exe in "$win/panel_bench.exe" "$sim"; do
  [ -x "$exe" ] || [ -f "$exe" ] || { echo "stress: $exe is missing; run 'make stress'" >&2; exit 2; }
done
mkdir -p "$rig"

sim_pid=
stop_sim() {
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; fi
  sim_pid=
}
trap stop_sim EXIT INT TERM

# start_sim LINK ARGS...: vrx-sim on its own pty, LINK pointing at it.
start_sim() {
  local link="$1"; shift
  rm -f "$link"
  "$sim" --link "$link" "$@" >"$rig/stress-sim.log" 2>&1 &
  sim_pid=$!
  for _ in $(seq 1 100); do [ -e "$link" ] && return 0; sleep 0.05; done
  echo "stress: vrx-sim did not come up (see $rig/stress-sim.log)" >&2
  return 1
}

# The program lists its ports on standard output at start-up; that is dropped.
run_step() {
  echo
  echo "\$ $*"
  echo "  (load$(uptime | sed 's/.*load average:/:/'))"
  "$repo/scripts/wine-exec.sh" "$@" | tr -d '\r' | grep -v -E '^(Registry method reports|COM[0-9]+)$'
  local status=${PIPESTATUS[0]}
  echo "  (load at its end$(uptime | sed 's/.*load average:/:/'))"
  return "$status"
}
export -f run_step
export repo

{
  echo "VRX-2600 control panel: stress runs (make stress)"
  echo "when: $(date -u '+%Y-%m-%d %H:%M UTC'); machine: $(nproc) cores; $(/usr/lib/wine/wine64 --version 2>/dev/null)"
  status=0

  "$repo/scripts/test-session.sh" "$build" bash -c "
    s=0
    run_step '$win/panel_bench.exe' cycles $CYCLES || s=1
    run_step '$win/panel_bench.exe' unplug-rig $UNPLUG_ROUNDS || s=1
    run_step '$win/panel_bench.exe' long-session $LONG_BYTES || s=1
    run_step '$win/panel_bench.exe' clicks 2621440 $SOAK_SECONDS 10830 6000 || s=1
    exit \$s" || status=1

  link="$rig/stress-sim-hangup"
  echo
  echo "(vrx-sim --link $link --hangup-after 6 --comeback-after $COMEBACK_MS, mapped as $SIM_PORT)"
  if start_sim "$link" --hangup-after 6 --comeback-after "$COMEBACK_MS"; then
    VRX_EXTRA_PORTS="$SIM_PORT=$link" "$repo/scripts/test-session.sh" "$build" \
      bash -c "run_step '$win/panel_bench.exe' unplug-sim $SIM_PORT $UNPLUG_ROUNDS" || status=1
  else
    status=1
  fi
  stop_sim

  link="$rig/stress-sim-garbage"
  echo
  echo "(vrx-sim --link $link --garbage --garbage-rate 4000, mapped as $SIM_PORT)"
  if start_sim "$link" --garbage --garbage-rate 4000; then
    VRX_EXTRA_PORTS="$SIM_PORT=$link" "$repo/scripts/test-session.sh" "$build" \
      bash -c "run_step '$win/panel_bench.exe' hostile $HOSTILE_SECONDS $SIM_PORT" || status=1
  else
    status=1
  fi
  stop_sim

  echo
  if [ $status -eq 0 ]; then echo "stress: every run held"; else echo "stress: a run FAILED (see above)"; exit 1; fi
} 2>&1 | tee "$report"
exit "${PIPESTATUS[0]}"
