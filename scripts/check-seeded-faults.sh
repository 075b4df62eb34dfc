#!/usr/bin/env bash
# Fails when a seeded fault of `make mutate` (tests/mutation/win/*.patch) has
# drifted from the code: it no longer applies to the tree, or the case its
# "# catches:" line names is defined by no Windows test. A drifted patch
# judges nothing, so the kill it stood for would be lost unseen until the
# next mutation run.
#
#   scripts/check-seeded-faults.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

failures=0
for patch in tests/mutation/win/*.patch; do
  name="$(basename "$patch")"
  if ! why="$(git apply --check "$patch" 2>&1)"; then
    echo "seeded fault $name does not apply: ${why%%$'\n'*}"
    failures=$((failures + 1))
  fi
  case_name="$(sed -n 's/^# catches: *//p' "$patch" | head -n 1)"
  if [ -z "$case_name" ]; then
    echo "seeded fault $name names no case (# catches: Suite.Case)"
    failures=$((failures + 1))
    continue
  fi
  # Faults/FaultyWrite.Case/Param -> suite FaultyWrite, case Case.
  suite_case="${case_name#*/}"
  suite="${suite_case%%.*}" rest="${suite_case#*.}"
  test_case="${rest%%/*}"
  if ! grep -rqE "\bTEST(_F|_P)?\(\s*$suite\s*,\s*$test_case\s*\)" tests/win; then
    echo "seeded fault $name names $case_name, which no Windows test defines"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] || { echo "$failures seeded fault(s) drifted from the code"; exit 1; }
echo "every seeded fault applies and names a defined case"
