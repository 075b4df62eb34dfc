#!/usr/bin/env bash
# The installer, made from the built program as `make dist` makes it without
# a key, installed silently into the test session's prefix: the program lands
# under Program Files, starts, lists its ports and closes with 0; the
# Start-menu shortcut and the Programs and Features entry are there. Removed
# silently, it leaves no file and no entry behind. (The upgrade has a prefix
# of its own: upgrade_test.sh.)
#
#   msi_install_test.sh PROGRAM.exe installed-program-check.exe VERSION
#
# Runs inside the test session (scripts/test-session.sh).
set -euo pipefail
program="$1" check="$2" version="$3"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
: "${BUILD_DIR:?run inside the test session: make test}"
prefix="$BUILD_DIR/wineprefix"
wine() { "$root/scripts/wine-exec.sh" "$@"; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
work="$(mktemp -d)"
installed=
cleanup() {
  # A failed run still leaves the shared prefix without the product.
  [ -n "$installed" ] && wine msiexec /x "$(winpath "$installed")" /qn >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

install_dir="$prefix/drive_c/Program Files/Tervane VRX 2600 Control"
uninstall_root='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
installer_keys=('HKLM\Software\Classes\Installer\Products' 'HKLM\Software\Classes\Installer\Features'
  'HKLM\Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Products'
  'HKLM\Software\Microsoft\Windows\CurrentVersion\Installer\UserData\S-1-5-18\Components'
  'HKLM\Software\Microsoft\Windows\CurrentVersion\Installer\UpgradeCodes' "$uninstall_root")
# What the installer may touch: the prefix's files and its installer keys.
# The first install in a prefix makes Windows Installer's own folder and keys,
# which Windows always has; they stay, empty, and are not the product's.
snapshot() {
  (cd "$prefix/drive_c" && find . -path ./windows/temp -prune -o ! -path ./windows/Installer -print | sort)
  local key
  for key in "${installer_keys[@]}"; do
    wine reg query "$key" /s 2>/dev/null | tr -d '\r' | grep -v -e '^$' -e '^reg: ' || true
  done
}

unset VRX_SIGN_PFX VRX_SIGN_PASSWORD_FILE VRX_SIGN_TIMESTAMP_URL
# strip stamps the program with this date too, so the two strips agree.
SOURCE_DATE_EPOCH="$(git -C "$root" log -1 --format=%ct)"
export SOURCE_DATE_EPOCH
x86_64-w64-mingw32-strip -o "$work/vrx2600-control.exe" "$program"
product_code="$("$root/scripts/package-release.sh" "$program" "$version" "$version" "$work/release" |
  sed -n 's/^product code //p')"
cp "$work/release/vrx2600-control-$version-x64.msi" "$work/test.msi"
[ -n "$product_code" ] || fail "package-release.sh named no product code"
snapshot >"$work/before.txt"
# The key comparison means something only if reg query answers at all.
wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion' /v ProgramFilesDir | grep -q 'Program Files' ||
  fail "reg query does not answer, so the removal could not be checked"
[ ! -e "$install_dir" ] || fail "already installed before the test: $install_dir"

code=0
wine msiexec /i "$(winpath "$work/test.msi")" /qn /l*v "$(winpath "$work/install.log")" || code=$?
[ "$code" -eq 0 ] || { cat "$work/install.log" >&2 || true; fail "msiexec /i exited with $code"; }
installed="$work/test.msi"

# A prefix's path as a Unix path: C:\... under drive_c.
unix_path() { printf '%s/drive_c/%s' "$prefix" "$(printf '%s' "${1#[Cc]:\\}" | tr '\\' /)"; }
# Where the installer put the Start menu's programs: the common one on
# Windows for a per-machine install; Wine's installer takes the user's.
menu_folder="$(tr -d '\r\0' <"$work/install.log" | sed -n 's/^Property(S): ProgramMenuFolder = //p' | tail -n 1)"
[ -n "$menu_folder" ] || fail "the install log names no ProgramMenuFolder"
shortcut="$(unix_path "$menu_folder")Tervane VRX 2600 Control.lnk"

cmp -s "$install_dir/vrx2600-control.exe" "$work/vrx2600-control.exe" ||
  fail "no program in $install_dir: $(ls -la "$install_dir" 2>&1)"
[ -f "$shortcut" ] || fail "no Start-menu shortcut at $shortcut"
# The shortcut's target, a Windows path, in the link's ANSI or UTF-16 text.
python3 -c 'import sys
target, link = sys.argv[1], open(sys.argv[2], "rb").read()
sys.exit(target.encode() not in link and target.encode("utf-16-le") not in link)' \
  'Tervane VRX 2600 Control\vrx2600-control.exe' "$shortcut" || fail "the shortcut does not point at the program"

entry="$(wine reg query "$uninstall_root\\$product_code" | tr -d '\r')" ||
  fail "no Programs and Features entry $uninstall_root\\$product_code"
value() { printf '%s\n' "$entry" | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
[ "$(value DisplayName)" = "Tervane VRX 2600 Control" ] || fail "DisplayName in: $entry"
[ "$(value DisplayVersion)" = "$version" ] || fail "DisplayVersion is not $version in: $entry"
[ "$(value Publisher)" = "Tervane" ] || fail "Publisher in: $entry"
# Programs and Features shows the icon the installer registered with the
# product (ARPPRODUCTICON); it is kept under the product's packed code.
packed="$(python3 -c 'import sys
g = sys.argv[1].strip("{}").replace("-", "")
print(g[7::-1] + g[11:7:-1] + g[15:11:-1] + "".join(g[i + 1] + g[i] for i in range(16, 32, 2)))' "$product_code")"
product="$(wine reg query "HKLM\\Software\\Classes\\Installer\\Products\\$packed" | tr -d '\r')" ||
  fail "no installer registration for $product_code"
icon="$(printf '%s\n' "$product" | sed -n 's/^ *ProductIcon *REG_[A-Z_]* *//p')"
[ -n "$icon" ] || fail "no ProductIcon in: $product"
icon_file="$(unix_path "$icon")"
cmp -s "$icon_file" "$root/resources/vrx2600.ico" || fail "the product's icon $icon is not the program's icon"

run="$(wine "$check" 'C:\Program Files\Tervane VRX 2600 Control\vrx2600-control.exe' | tr -d '\r')" ||
  fail "the installed program: $run"
printf '%s\n' "$run" | grep -qx "exit code 0" || fail "the installed program: $run"
printf '%s\n' "$run" | grep -qx "version $version" || fail "the installed program's version is not $version: $run"
printf '%s\n' "$run" | grep -qx "Registry method reports" || fail "the installed program listed no ports: $run"
printf '%s\n' "$run" | grep -qx "$VRX_SIM_PORT" || fail "the installed program did not list $VRX_SIM_PORT: $run"

code=0
wine msiexec /x "$(winpath "$work/test.msi")" /qn || code=$?
[ "$code" -eq 0 ] || fail "msiexec /x exited with $code"
installed=
snapshot >"$work/after.txt"
diff "$work/before.txt" "$work/after.txt" >"$work/left.txt" ||
  fail "the removal left behind (< gone, > added): $(cat "$work/left.txt")"
[ ! -e "$install_dir" ] && [ ! -e "$shortcut" ] && [ ! -e "$icon_file" ] ||
  fail "the removal left the program, its shortcut or its icon"
echo "installed $version, ran it ($(printf '%s\n' "$run" | grep -c '^COM') ports listed), removed: nothing left"
