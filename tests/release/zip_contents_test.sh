#!/usr/bin/env bash
# The portable zip, made from the built program as `make dist` makes it
# without a key: the build says in one line that it is unsigned; unpacked,
# the zip holds the program, README.txt and SHA256SUMS in one folder, the
# checksums match (the release's own too), and the program imports Windows'
# own DLLs only.
#
#   zip_contents_test.sh PROGRAM.exe VERSION
set -euo pipefail
program="$1" version="$2"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

name="vrx2600-control-$version-win64"
unset VRX_SIGN_PFX VRX_SIGN_PASSWORD_FILE VRX_SIGN_TIMESTAMP_URL
# strip stamps the program with this date too, so the two strips agree.
SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct)"
export SOURCE_DATE_EPOCH
"$root/scripts/package-release.sh" "$program" "$version" "$version" "$work/release" >"$work/release.log" ||
  { cat "$work/release.log" >&2; fail "packing the release failed"; }
[ "$(grep -c '^unsigned: ' "$work/release.log")" -eq 1 ] || fail "no one line saying unsigned: $(cat "$work/release.log")"
(cd "$work/release" && sha256sum --check --strict --quiet SHA256SUMS) || fail "the release's SHA256SUMS does not match"
x86_64-w64-mingw32-strip -o "$work/vrx2600-control.exe" "$program"
mkdir "$work/unpacked"
python3 -m zipfile -e "$work/release/$name.zip" "$work/unpacked"

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
