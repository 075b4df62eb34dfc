#!/usr/bin/env bash
# Builds the Windows installer from a built program with wixl.
#
#   scripts/package-msi.sh PROGRAM.exe VERSION OUT.msi
#
# VERSION is x.y.z. The installed files carry the time SOURCE_DATE_EPOCH when
# it is set. Prints the product code. Leaves nothing behind on failure; wixl's
# own message says why.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 PROGRAM.exe VERSION OUT.msi" >&2; exit 2; }
program="$1" version="$2" out="$3"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
command -v wixl >/dev/null || { echo "no wixl: install the Debian package wixl (make deps)" >&2; exit 1; }
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "an installer version is x.y.z, not $version" >&2; exit 1; }

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp "$program" "$stage/vrx2600-control.exe"
cp "$root/resources/vrx2600.ico" "$stage/vrx2600.ico"
cp "$root/packaging/vrx2600-control.wxs" "$stage/"
if [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  touch -d "@$SOURCE_DATE_EPOCH" "$stage/vrx2600-control.exe" "$stage/vrx2600.ico"
fi
# One product code per version, the same on every build of that version:
# derived from the upgrade code and the version.
product_code="$(python3 -c 'import sys, uuid
print(str(uuid.uuid5(uuid.UUID("33E1C0F3-E3C8-4DA3-AFEA-27D5CFC72B26"), "product " + sys.argv[1])).upper())' "$version")"
(
  cd "$stage"
  wixl -a x64 -D "Version=$version" -D "ProductCode=$product_code" \
    -D ProgramFile=vrx2600-control.exe -D IconFile=vrx2600.ico -o package.msi vrx2600-control.wxs
)
mv "$stage/package.msi" "$out"
echo "product code {$product_code}"
