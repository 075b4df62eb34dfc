#!/usr/bin/env bash
# `make test` inside its test session: the CPU-heavy native, sanitizer and
# fuzz cases first, on every core; then the Windows cases under Wine, which
# take turns on the rig and measure pauses and pixels, with the cores to
# themselves. Fails when any phase fails; every phase runs.
#
#   scripts/run-tests.sh BUILD_DIR JOBS
set -uo pipefail
build="$1"
jobs="${2:-2}"
status=0
for tree in native fuzz win; do
  echo "== $tree tests"
  ctest --test-dir "$build/$tree" --output-on-failure -j "$jobs" || status=1
done
exit "$status"
