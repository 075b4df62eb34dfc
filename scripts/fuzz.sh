#!/usr/bin/env bash
# Runs every libFuzzer target of the fuzz tree for FUZZ_SECONDS (default 600)
# each, one after the other, then merges what added coverage into the kept
# corpus tests/fuzz/corpus/NAME (which `make test` replays): only inputs that
# reach code the kept corpus does not. Prints the
# executions and the coverage of each target.
#
#   FUZZ_SECONDS=600 scripts/fuzz.sh BUILD_DIR
set -uo pipefail
build="$(cd "$1" && pwd)"
fuzz_dir="$build/fuzz"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(cd "$here/.." && pwd)"
seconds="${FUZZ_SECONDS:-600}"
work="$fuzz_dir/fuzz-run"
mkdir -p "$work"

summary=()
status=0
for exe in "$fuzz_dir"/*_fuzz; do
  [ -x "$exe" ] || continue
  name="$(basename "$exe")"
  corpus_name="${name%_fuzz}"
  kept="$repo/tests/fuzz/corpus/$corpus_name"
  grown="$work/$corpus_name"
  log="$work/$corpus_name.log"
  mkdir -p "$kept" "$grown"
  kept_before=$(find "$kept" -type f | wc -l)
  echo "== $name: ${seconds} s (log $log)"
  # New inputs go to the grown corpus in the build tree; the kept one only seeds.
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/$corpus_name-" \
    "$grown" "$kept" >"$log" 2>&1
  rc=$?
  if [ $rc -ne 0 ]; then
    echo "   $name FAILED (exit $rc); crash input and trace in $log:"
    grep -E "ERROR|SUMMARY|Test unit written" "$log" | head -5 | sed 's/^/   /'
    status=1
  fi
  # Keep only inputs that reach new edges (hit counts aside), so the kept
  # corpus stays a few dozen small files.
  "$exe" -merge=1 -use_counters=0 -use_value_profile=0 "$kept" "$grown" >"$work/$corpus_name.merge.log" 2>&1
  kept_after=$(find "$kept" -type f | wc -l)
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  # The last status line ("#N DONE cov: C ft: F corp: ...") holds the final coverage.
  last=$(grep -E '^#[0-9]+' "$log" | tail -1)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  corp=$(sed -n 's/.* corp: \([0-9]*\/[0-9]*[a-zA-Z]*\).*/\1/p' <<<"$last")
  line=$(printf '%-16s %4ss  exit %d  executions %s (%s/s)  cov %s edges  ft %s features  corpus %s  kept %d -> %d files' \
    "$corpus_name" "$seconds" "$rc" "${execs:-?}" "${speed:-?}" "${cov:-?}" "${ft:-?}" "${corp:-?}" \
    "$kept_before" "$kept_after")
  echo "   $line"
  summary+=("$line")
done

echo
echo "fuzzing summary (libFuzzer -print_final_stats=1; cov = covered edges, ft = features, from the last status line):"
for line in "${summary[@]}"; do echo "  $line"; done
exit $status
