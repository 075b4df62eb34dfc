#!/usr/bin/env bash
# Builds the Windows installer from a built program with wixl.
#
#   scripts/package-msi.sh PROGRAM.exe VERSION OUT.msi
#
# VERSION is x.y.z. Every date in the package is SOURCE_DATE_EPOCH (the last
# commit's when unset), so the same program and sources give the same bytes:
# wixl writes the clock's time into the summary information and picks a
# random package code, so it runs on a clock stopped at that date, and the
# package code is then set to one derived from what the package holds.
# Prints the product code. Leaves nothing behind on failure; wixl's own
# message says why.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 PROGRAM.exe VERSION OUT.msi" >&2; exit 2; }
program="$1" version="$2" out="$3"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
for tool in wixl:wixl msibuild:msitools faketime:faketime; do
  command -v "${tool%%:*}" >/dev/null ||
    { echo "no ${tool%%:*}: install the Debian package ${tool#*:} (make deps)" >&2; exit 1; }
done
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "an installer version is x.y.z, not $version" >&2; exit 1; }

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
cp "$program" "$stage/vrx2600-control.exe"
cp "$root/resources/vrx2600.ico" "$stage/vrx2600.ico"
cp "$root/packaging/vrx2600-control.wxs" "$stage/"
epoch="${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}"
touch -d "@$epoch" "$stage/vrx2600-control.exe" "$stage/vrx2600.ico"
# Codes derived from the upgrade code: one product code per version, the same
# on every build of it; one package code per distinct package.
derived_code() {
  python3 -c 'import sys, uuid
print(str(uuid.uuid5(uuid.UUID("33E1C0F3-E3C8-4DA3-AFEA-27D5CFC72B26"), sys.argv[1])).upper())' "$1"
}
product_code="$(derived_code "product $version")"
package_code="$(derived_code "package $version $(cd "$stage" && sha256sum -- * | tr -s ' \n' ' ')")"
stopped_clock() { TZ=UTC faketime "$(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S')" "$@"; }
(
  cd "$stage"
  stopped_clock wixl -a x64 -D "Version=$version" -D "ProductCode=$product_code" \
    -D ProgramFile=vrx2600-control.exe -D IconFile=vrx2600.ico -o package.msi vrx2600-control.wxs
  # The summary information again, as wixl wrote it but for the package code.
  stopped_clock msibuild package.msi -s "Tervane VRX 2600 Control $version" Tervane "x64;1033" "{$package_code}"
)
mv "$stage/package.msi" "$out"
echo "product code {$product_code}"
