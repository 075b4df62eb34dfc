#!/usr/bin/env bash
# `make bench`: measures the control panel's reply delay, sustained input, a
# long paste, idle cost and start-up under Wine, and the reply grammar's
# throughput natively; prints one report (also kept in
# BUILD_DIR/bench-report.txt), each figure with its unit, how it was measured
# and the command that made it.
#
#   scripts/bench.sh BUILD_DIR
# Counts can be lowered for a quick look: REPLY_PAIRS (1000), SUSTAINED_SECONDS
# (60), IDLE_SECONDS (30), STARTUP_RUNS (7), PASTE_CHARACTERS (40000),
# PASTE_RUNS (5), CLICK_PRELOAD_BYTES (2621440), CLICK_SECONDS (90).
set -uo pipefail
build="$(cd "$1" && pwd)"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/.." && pwd)"
win="$build/win"
report="$build/bench-report.txt"
: "${REPLY_PAIRS:=1000}" "${SUSTAINED_SECONDS:=60}" "${IDLE_SECONDS:=30}" "${STARTUP_RUNS:=7}"
: "${PASTE_CHARACTERS:=40000}" "${PASTE_RUNS:=5}" "${CLICK_PRELOAD_BYTES:=2621440}" "${CLICK_SECONDS:=90}"

for exe in "$win/panel_bench.exe" "$win/launch_bench.exe" "$win/minimal_window.exe" "$win/vrx2600-control.exe" \
           "$build/native-bench/reply_grammar_bench"; do
  [ -x "$exe" ] || [ -f "$exe" ] || { echo "bench: $exe is missing; run 'make bench'" >&2; exit 2; }
done

# The steps inside the test session (Wine prefix, display, pty pairs).
session_steps() {
  local status=0
  run_step() {
    echo
    echo "\$ $*"
    echo "  (load$(uptime | sed 's/.*load average:/:/'))"
    # The program lists its ports on standard output at start-up.
    "$repo/scripts/wine-exec.sh" "$@" | tr -d '\r' | grep -v -E '^(Registry method reports|COM[0-9]+)$'
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  }
  run_step "$win/panel_bench.exe" reply-delay "$REPLY_PAIRS"
  run_step "$win/panel_bench.exe" sustained "$SUSTAINED_SECONDS" 11520
  run_step "$win/panel_bench.exe" paste "$PASTE_CHARACTERS" "$PASTE_RUNS"
  # 94 % of the line rate, a click every 5 s
  run_step "$win/panel_bench.exe" clicks "$CLICK_PRELOAD_BYTES" "$CLICK_SECONDS" 10830 5000
  run_step "$win/panel_bench.exe" pane
  run_step "$win/launch_bench.exe" startup "$STARTUP_RUNS"
  idle_step || status=1
  return $status
}

# GetProcessTimes of another process reads as zero under Wine, so the CPU time
# of the program's Unix process is read from /proc around the idle window, and
# so is wineserver's, which does the waiting for every wait and time-out.
proc_ticks() {
  [ -n "$1" ] && awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0
}

panel_unix_pid() {
  local want pid
  want="Z:$(tr '/' '\\' <<<"$win")\\vrx2600-control.exe"
  for pid in $(pgrep -f 'vrx2600-control\.exe'); do
    [ "$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -1)" = "$want" ] && { echo "$pid"; return; }
  done
}

wineserver_pid() {
  local pid
  for pid in $(pgrep -f '^/usr/lib/wine/wineserver'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && { echo "$pid"; return; }
  done
}

idle_step() {
  local out="$build/rig/idle.out" hz rc panel server p0 p1 s0 s1
  echo
  echo "\$ $win/launch_bench.exe idle $IDLE_SECONDS"
  "$repo/scripts/wine-exec.sh" "$win/launch_bench.exe" idle "$IDLE_SECONDS" >"$out" 2>&1 &
  local pid=$!
  until grep -q IDLE-START "$out" 2>/dev/null || ! kill -0 $pid 2>/dev/null; do sleep 0.05; done
  panel=$(panel_unix_pid)
  server=$(wineserver_pid)
  p0=$(proc_ticks "$panel")
  s0=$(proc_ticks "$server")
  until grep -q IDLE-END "$out" 2>/dev/null || ! kill -0 $pid 2>/dev/null; do sleep 0.05; done
  p1=$(proc_ticks "$panel")
  s1=$(proc_ticks "$server")
  wait $pid
  rc=$?
  tr -d '\r' <"$out" | grep -v -E '^IDLE-(START|END)$'
  hz=$(getconf CLK_TCK)
  awk -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v hz="$hz" -v secs="$IDLE_SECONDS" -v panel="${panel:-?}" 'BEGIN {
    printf "    the program (Unix pid %s, /proc utime+stime, %d Hz ticks): %.0f ms CPU = %.2f %% of one core\n", panel, hz, p * 1000 / hz, p * 100 / hz / secs
    printf "    wineserver meanwhile (same way; it serves the waits of every Wine process): %.0f ms = %.2f %%\n", s * 1000 / hz, s * 100 / hz / secs }'
  [ -n "$panel" ] || { echo "    the program's Unix process was not found"; rc=1; }
  return $rc
}

{
  echo "VRX-2600 control panel: measured reliability and speed (make bench)"
  echo "when: $(date -u '+%Y-%m-%d %H:%M UTC'); machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)"
  echo "load:$(uptime | sed 's/.*load average: / /')"
  echo "wine: $(/usr/lib/wine/wine64 --version 2>/dev/null); the Windows programs are MinGW-w64 RelWithDebInfo builds, run under Wine with Xvfb"
  echo
  echo "\$ $build/native-bench/reply_grammar_bench"
  "$build/native-bench/reply_grammar_bench"
  grammar=$?
  export -f session_steps idle_step proc_ticks panel_unix_pid wineserver_pid
  export win repo build REPLY_PAIRS SUSTAINED_SECONDS IDLE_SECONDS STARTUP_RUNS PASTE_CHARACTERS PASTE_RUNS \
    CLICK_PRELOAD_BYTES CLICK_SECONDS
  "$repo/scripts/test-session.sh" "$build" bash -c session_steps
  session=$?
  echo
  if [ $grammar -eq 0 ] && [ $session -eq 0 ]; then
    echo "bench: every measurement ran"
  else
    echo "bench: a measurement FAILED (see above)"
    exit 1
  fi
} 2>&1 | tee "$report"
exit "${PIPESTATUS[0]}"
