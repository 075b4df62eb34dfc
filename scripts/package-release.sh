#!/usr/bin/env bash
# The release files from a built program, as `make dist` ships them:
#
#   scripts/package-release.sh PROGRAM.exe VERSION LABEL OUTDIR
#
# writes to OUTDIR (made if missing):
#   vrx2600-control-LABEL-win64.zip   the program, README.txt, SHA256SUMS
#   vrx2600-control-LABEL-x64.msi     the installer of version VERSION (x.y.z)
#   SHA256SUMS                        of the two
# LABEL is the version as the file names show it (VERSION, or VERSION-dirty).
# The program is stripped. With a key in the environment (VRX_SIGN_PFX and
# VRX_SIGN_PASSWORD_FILE, see scripts/sign-file.sh) the program is signed
# before it is packed, so the zip, its sums and the installer hold the signed
# one, and the installer is signed once built; without one the files are
# unsigned and one line says so.
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: $0 PROGRAM.exe VERSION LABEL OUTDIR" >&2; exit 2; }
program="$1" version="$2" label="$3" out="$4"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
name="vrx2600-control-$label"
# One date for every step: the program's header (strip writes it), the zip's
# file times, the installer's, the signing time.
SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git -C "$here" log -1 --format=%ct)}"
export SOURCE_DATE_EPOCH

if [ -n "${VRX_SIGN_PFX:-}" ] && [ -n "${VRX_SIGN_PASSWORD_FILE:-}" ]; then
  signed=1
elif [ -n "${VRX_SIGN_PFX:-}${VRX_SIGN_PASSWORD_FILE:-}${VRX_SIGN_TIMESTAMP_URL:-}" ]; then
  # Half a key would quietly give unsigned files that were meant to be signed.
  echo "signing needs both VRX_SIGN_PFX and VRX_SIGN_PASSWORD_FILE" >&2
  exit 1
else
  signed=
  echo "unsigned: no key given (VRX_SIGN_PFX, VRX_SIGN_PASSWORD_FILE; README, \"Signing a release\")"
fi

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
x86_64-w64-mingw32-strip -o "$stage/vrx2600-control.exe" "$program"
if [ -n "$signed" ]; then
  "$here/sign-file.sh" "$stage/vrx2600-control.exe" "$stage/signed.exe"
  mv "$stage/signed.exe" "$stage/vrx2600-control.exe"
fi
"$here/package-zip.sh" "$stage/vrx2600-control.exe" "$label" "$stage/$name-win64.zip"
"$here/package-msi.sh" "$stage/vrx2600-control.exe" "$version" "$stage/$name-x64.msi"
if [ -n "$signed" ]; then
  "$here/sign-file.sh" "$stage/$name-x64.msi" "$stage/signed.msi"
  mv "$stage/signed.msi" "$stage/$name-x64.msi"
  if [ -n "${VRX_SIGN_TIMESTAMP_URL:-}" ]; then
    echo "signed, time-stamped by $VRX_SIGN_TIMESTAMP_URL"
  else
    echo "signed, signing time fixed at $(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S UTC')"
  fi
fi
(cd "$stage" && sha256sum "$name-win64.zip" "$name-x64.msi" >SHA256SUMS)
mkdir -p "$out"
mv "$stage/$name-win64.zip" "$stage/$name-x64.msi" "$stage/SHA256SUMS" "$out/"
