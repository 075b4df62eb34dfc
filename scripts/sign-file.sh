#!/usr/bin/env bash
# Signs a Windows program or installer with Authenticode (SHA-256) using
# Debian's osslsigncode.
#
#   scripts/sign-file.sh IN OUT
#
# The key comes from the environment, never from the command line (where any
# user of the machine could read a password):
#   VRX_SIGN_PFX             PKCS#12 file with the certificate, its chain and key
#   VRX_SIGN_PASSWORD_FILE   file whose first line is that file's password
#   VRX_SIGN_TIMESTAMP_URL   optional: an RFC 3161 time-stamping server
# Without a server the signing time is SOURCE_DATE_EPOCH (the last commit's
# when unset), so the same file and key give the same bytes on every build.
# OUT is written only when signing worked.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 IN OUT" >&2; exit 2; }
in="$1" out="$2"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
: "${VRX_SIGN_PFX:?VRX_SIGN_PFX names no key}" "${VRX_SIGN_PASSWORD_FILE:?VRX_SIGN_PASSWORD_FILE names no password file}"
command -v osslsigncode >/dev/null ||
  { echo "no osslsigncode: install the Debian package osslsigncode (make deps)" >&2; exit 1; }
for file in "$VRX_SIGN_PFX" "$VRX_SIGN_PASSWORD_FILE"; do
  [ -r "$file" ] || { echo "cannot read $file" >&2; exit 1; }
done

if [ -n "${VRX_SIGN_TIMESTAMP_URL:-}" ]; then
  when=(-ts "$VRX_SIGN_TIMESTAMP_URL")
else
  when=(-time "${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}")
fi
partial="$out.signing"
log="$(mktemp)"
trap 'rm -f "$partial" "$log"' EXIT
# Its chatter is shown only when signing fails.
osslsigncode sign -pkcs12 "$VRX_SIGN_PFX" -readpass "$VRX_SIGN_PASSWORD_FILE" -h sha256 \
  -n "Tervane VRX 2600 Control" "${when[@]}" -in "$in" -out "$partial" >"$log" 2>&1 ||
  { cat "$log" >&2; echo "signing $in failed" >&2; exit 1; }
mv "$partial" "$out"
