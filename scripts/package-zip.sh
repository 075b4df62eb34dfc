#!/usr/bin/env bash
# Builds the portable zip from a built program: the program, README.txt and
# SHA256SUMS in a folder named like the zip.
#
#   scripts/package-zip.sh PROGRAM.exe VERSION OUT.zip
#
# The entries carry the time SOURCE_DATE_EPOCH (the last commit's when unset).
# Leaves nothing behind on failure.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 PROGRAM.exe VERSION OUT.zip" >&2; exit 2; }
program="$1" version="$2" out="$3"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
epoch="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}"

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
folder="$stage/$(basename "$out" .zip)"
mkdir "$folder"
cp "$program" "$folder/vrx2600-control.exe"
# Windows line ends, so that Notepad shows the lines of any Windows version.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$root/packaging/README.txt.in" >"$folder/README.txt"
(cd "$folder" && sha256sum vrx2600-control.exe README.txt >SHA256SUMS)
python3 "$root/scripts/zip-folder.py" "$folder" "$stage/package.zip" "$epoch"
mv "$stage/package.zip" "$out"
