#!/usr/bin/env bash
# Fails when a dependency points the wrong way. The program's layers are
# ui -> links -> protocol (and ui -> protocol): protocol/ and links/ include
# nothing from ui/, protocol/ includes nothing from links/, and protocol/
# includes no platform header (only its own headers and the C++ library's,
# whose names have no ".h").
#
#   scripts/check-layering.sh [SOURCE_DIR]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

failures=0
report() {
  echo "layering: $1"
  failures=$((failures + 1))
}

while IFS= read -r hit; do report "$hit (ui/ is above protocol/ and links/)"; done < <(
  grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"ui/' protocol links || true)
while IFS= read -r hit; do report "$hit (links/ is above protocol/)"; done < <(
  grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"links/' protocol || true)
while IFS= read -r hit; do report "$hit (protocol/ is portable: no platform header)"; done < <(
  grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<[^>]*\.h>' protocol || true)

if [ "$failures" -gt 0 ]; then
  echo "layering: $failures include(s) point the wrong way"
  exit 1
fi
echo "layering: protocol/ and links/ point one way"
