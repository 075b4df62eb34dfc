#!/usr/bin/env bash
# The portable zip, made from the built program by the script `make dist`
# uses: unpacked, it holds the program, README.txt and SHA256SUMS in one
# folder, the checksums match, and the program imports Windows' own DLLs only.
#
#   zip_contents_test.sh PROGRAM.exe VERSION
set -euo pipefail
program="$1" version="$2"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

name="vrx2600-control-$version-win64"
x86_64-w64-mingw32-strip -o "$work/vrx2600-control.exe" "$program"
"$root/scripts/package-zip.sh" "$work/vrx2600-control.exe" "$version" "$work/$name.zip"
mkdir "$work/unpacked"
python3 -m zipfile -e "$work/$name.zip" "$work/unpacked"

listed="$(cd "$work/unpacked" && find . -type f | sort | tr '\n' ' ')"
expected="./$name/README.txt ./$name/SHA256SUMS ./$name/vrx2600-control.exe "
[ "$listed" = "$expected" ] || fail "the zip holds $listed, not $expected"
folder="$work/unpacked/$name"
cmp -s "$folder/vrx2600-control.exe" "$work/vrx2600-control.exe" || fail "the zip's program is not the one packed"
grep -q "Tervane VRX 2600 Control $version" "$folder/README.txt" || fail "README.txt does not name version $version"

# Every file beside SHA256SUMS is listed there, and each sum matches.
[ "$(cut -d' ' -f3 "$folder/SHA256SUMS" | sort | tr '\n' ' ')" = "README.txt vrx2600-control.exe " ] ||
  fail "SHA256SUMS lists: $(cat "$folder/SHA256SUMS")"
(cd "$folder" && sha256sum --check --strict SHA256SUMS) || fail "SHA256SUMS does not match the files"

# Windows' own DLLs; a MinGW runtime DLL (libstdc++-6, libgcc_s_seh-1,
# libwinpthread-1) would have to be shipped beside the program.
allowed=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll gdiplus.dll kernel32.dll msvcrt.dll ole32.dll"
allowed+=" oleaut32.dll shell32.dll shlwapi.dll user32.dll version.dll winmm.dll ws2_32.dll "
imports="$(x86_64-w64-mingw32-objdump -p "$folder/vrx2600-control.exe" | sed -n 's/^\tDLL Name: //p' |
  tr '[:upper:]' '[:lower:]')"
[ -n "$imports" ] || fail "objdump found no imports in the program"
foreign=
for dll in $imports; do
  case "$allowed" in *" $dll "*) ;; *) foreign+=" $dll" ;; esac
done
[ -z "$foreign" ] || fail "the program imports DLLs that are not Windows' own:$foreign"
echo "zip: $expected; sums match; imports:" $imports
