#!/usr/bin/env bash
# The upgrade, in a fresh Wine prefix of its own: the installer of version N
# installed, then that of N+1 (the program built with the next version
# number): one product is registered (Programs and Features, the upgrade
# code's products), N+1's, and the installed program is N+1's with its
# version record, N's gone. Then N's installer is refused with the package's
# downgrade message, and N+1 stays as it was.
#
#   upgrade_test.sh PROGRAM.exe VERSION NEXT_PROGRAM.exe NEXT_VERSION
#
# Runs inside the test session (scripts/test-session.sh), beside the tests
# that use the session's prefix.
set -euo pipefail
program="$1" version="$2" next_program="$3" next_version="$4"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
: "${BUILD_DIR:?run inside the test session: make test}"
# shellcheck disable=SC1091
. "$root/scripts/wine-lib.sh"
export WINEPREFIX="$BUILD_DIR/upgrade-wineprefix"
work="$(mktemp -d)"
cleanup() {
  "$WINESERVER_BIN" -k 2>/dev/null || true
  "$WINESERVER_BIN" -w 2>/dev/null || true
  rm -rf "$WINEPREFIX" "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
wine() { "$WINE_BIN" "$@"; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# The two releases as make dist packs them, and the programs their installers hold.
unset VRX_SIGN_PFX VRX_SIGN_PASSWORD_FILE VRX_SIGN_TIMESTAMP_URL
pack() {
  "$root/scripts/package-release.sh" "$2" "$3" "$3" "$work/$1" >"$work/$1.log" ||
    { cat "$work/$1.log" >&2; fail "packing version $3 failed"; }
  sed -n 's/^product code //p' "$work/$1.log"
  cp "$work/$1/vrx2600-control-$3-x64.msi" "$work/$1.msi"
  msiextract -C "$work/$1.files" "$work/$1.msi" >/dev/null
}
code="$(pack older "$program" "$version")"
next_code="$(pack newer "$next_program" "$next_version")"
packed_program() { printf '%s' "$work/$1.files/Tervane VRX 2600 Control/vrx2600-control.exe"; }
! cmp -s "$(packed_program older)" "$(packed_program newer)" || fail "versions $version and $next_version pack one program"

rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wine wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; fail "wineboot failed"; }
"$WINESERVER_BIN" -w
# One server for the whole test; the prefix's services come up with their
# output away from the pipes that read the registry below.
"$WINESERVER_BIN" -p
wine cmd /c exit >/dev/null 2>&1 || true

install_dir="$WINEPREFIX/drive_c/Program Files/Tervane VRX 2600 Control"
uninstall_root='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The upgrade code, packed as Windows Installer keys it.
packed() {
  python3 -c 'import sys
g = sys.argv[1].strip("{}").replace("-", "")
print(g[7::-1] + g[11:7:-1] + g[15:11:-1] + "".join(g[i + 1] + g[i] for i in range(16, 32, 2)))' "$1"
}
upgrade_codes="HKLM\\Software\\Classes\\Installer\\UpgradeCodes\\$(packed 33E1C0F3-E3C8-4DA3-AFEA-27D5CFC72B26)"
msiexec_install() {
  local status=0
  wine msiexec /i "$(winpath "$work/$1.msi")" /qn /l*v "$(winpath "$work/$1-install.log")" >/dev/null 2>&1 ||
    status=$?
  echo "$status"
}

# only_installed NAME VERSION CODE: the one product registered is NAME's, of
# VERSION and CODE, and the one file installed is NAME's program.
only_installed() {
  local entries products files
  entries="$(wine reg query "$uninstall_root" /s 2>/dev/null | tr -d '\r' | awk '
    /^HKEY_/ { key = $0; sub(/.*\\/, "", key) }
    /^ +DisplayName +REG_SZ +Tervane VRX 2600 Control$/ { print key }')"
  [ "$entries" = "$3" ] || fail "Programs and Features lists ${entries:-nothing}, not only version $2's $3"
  wine reg query "$uninstall_root\\$3" /v DisplayVersion | tr -d '\r' | grep -q "REG_SZ *$2$" ||
    fail "the entry of $3 is not version $2"
  products="$(wine reg query "$upgrade_codes" 2>/dev/null | tr -d '\r' | sed -n 's/^ *\([0-9A-F]\{32\}\) .*/\1/p')"
  [ "$products" = "$(packed "$3")" ] || fail "the upgrade code lists ${products:-no product}, not only $3"
  files="$(cd "$install_dir" && find . -type f | tr '\n' ' ')"
  [ "$files" = "./vrx2600-control.exe " ] || fail "installed: $files"
  cmp -s "$install_dir/vrx2600-control.exe" "$(packed_program "$1")" || fail "the installed program is not version $2's"
  x86_64-w64-mingw32-windres -i "$install_dir/vrx2600-control.exe" -O rc | tr -d ' ' |
    grep -qx "FILEVERSION$(printf '%s' "$2" | tr . ,),0" || fail "the installed program's version record is not $2"
}

[ "$(msiexec_install older)" -eq 0 ] || { cat "$work/older-install.log" >&2; fail "installing $version failed"; }
only_installed older "$version" "$code"
[ "$(msiexec_install newer)" -eq 0 ] || { cat "$work/newer-install.log" >&2; fail "installing $next_version over $version failed"; }
only_installed newer "$next_version" "$next_code"

# The downgrade: Windows exits with 1603 (Wine's exit status shows its low
# byte) and shows the package's launch condition text; with /qn Wine's
# installer writes that text nowhere, so the log shows the newer product
# found and the package holds the text.
status="$(msiexec_install older)"
[ "$status" -ne 0 ] || fail "installing $version over $next_version was not refused"
log="$(tr -d '\r\0' <"$work/older-install.log")"
printf '%s\n' "$log" | grep -qx "Property(S): WIX_DOWNGRADE_DETECTED = $next_code" ||
  fail "the refused install did not detect $next_code as newer: $log"
msiinfo export "$work/older.msi" LaunchCondition | tr -d '\r' |
  grep -qx $'NOT WIX_DOWNGRADE_DETECTED\tA newer version of Tervane VRX 2600 Control is already installed.' ||
  fail "the installer's downgrade condition: $(msiinfo export "$work/older.msi" LaunchCondition)"
only_installed newer "$next_version" "$next_code"
echo "installed $version, upgraded to $next_version (one product, its program), $version refused (exit $status): $next_version kept"
