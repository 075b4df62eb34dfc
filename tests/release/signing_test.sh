#!/usr/bin/env bash
# The signed release, made from the built program by the script `make dist`
# uses, with a throwaway CA and code-signing certificate made here:
# - the program in the zip and the installer verify against that CA, signed
#   with SHA-256 by that certificate at the last commit's time; the installer
#   packs the same signed program; the sums are those of the signed files;
# - one byte changed in either fails verification on its digest;
# - two signed builds are byte-identical;
# - with a time-stamping server named (played here by `openssl ts`) both
#   signatures carry its verified time stamp;
# - half a key, a wrong password or a server that does not answer fails the
#   build, leaving no files.
#
#   signing_test.sh PROGRAM.exe VERSION
set -euo pipefail
program="$1" version="$2"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
work="$(mktemp -d)"
server_pid=
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }
unset VRX_SIGN_PFX VRX_SIGN_PASSWORD_FILE VRX_SIGN_TIMESTAMP_URL SOURCE_DATE_EPOCH
epoch="$(git -C "$root" log -1 --format=%ct)"
name="vrx2600-control-$version"
cd "$work"

# The certificates date from a day before the commit, so they are valid at
# the signing time make dist fixes, and for ten years.
issued_clock() { TZ=UTC faketime "$(date -u -d "@$((epoch - 86400))" '+%Y-%m-%d %H:%M:%S')" "$@"; }
issued_clock openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 3650 -subj "/CN=VRX Test Root" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign" 2>/dev/null
# issue NAME SERIAL EXTENDED_KEY_USAGE: NAME.key and NAME.pem, issued by the CA.
issue() {
  issued_clock openssl req -newkey rsa:2048 -nodes -keyout "$1.key" -out "$1.csr" -subj "/CN=VRX Test $1" 2>/dev/null
  printf 'basicConstraints=critical,CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n' "$3" >"$1.ext"
  issued_clock openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -set_serial "$2" -days 3650 \
    -extfile "$1.ext" -out "$1.pem" 2>/dev/null
}
issue signer 2 codeSigning
issue stamper 3 critical,timeStamping
printf 'not on any command line\n' >password.txt
openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -passout file:password.txt -out signer.pfx
export VRX_SIGN_PFX="$work/signer.pfx" VRX_SIGN_PASSWORD_FILE="$work/password.txt"

# release DIR: the release files in DIR, signed as the environment says.
release() { "$root/scripts/package-release.sh" "$program" "$version" "$version" "$1" >"$1.log" 2>&1; }
release one || { cat one.log >&2; fail "the signed build failed"; }
release two || { cat two.log >&2; fail "the second signed build failed"; }
diff -r one two >/dev/null || fail "two signed builds differ: $(diff -r one two 2>&1 | head -n 3)"
grep -qx "signed, signing time fixed at $(date -u -d "@$epoch" '+%Y-%m-%d %H:%M:%S UTC')" one.log ||
  fail "the build does not say it signed at the commit's time: $(cat one.log)"

# unpack DIR: the program from DIR's zip as unpacked/DIR.exe (its folder's
# sums checked) and the one its installer packs as packed/DIR.exe.
unpack() {
  (cd "$1" && sha256sum --check --strict --quiet SHA256SUMS) || fail "$1/SHA256SUMS does not match the files"
  python3 -m zipfile -e "$1/$name-win64.zip" "unpacked/$1"
  (cd "unpacked/$1/$name-win64" && sha256sum --check --strict --quiet SHA256SUMS) ||
    fail "the zip's SHA256SUMS does not match its signed program"
  cp "unpacked/$1/$name-win64/vrx2600-control.exe" "unpacked/$1.exe"
  mkdir -p "packed/$1"
  msiextract -C "packed/$1" "$1/$name-x64.msi" >/dev/null
  cp "packed/$1/Tervane VRX 2600 Control/vrx2600-control.exe" "packed/$1.exe"
  cmp -s "unpacked/$1.exe" "packed/$1.exe" || fail "the installer in $1 packs another program than the zip"
}
unpack one

# verified FILE [options]: osslsigncode's report on FILE checked against the
# throwaway CA, in FILE.verify; fails when the signature does not verify.
verified() {
  local file="$1"
  shift
  osslsigncode verify -CAfile ca.pem "$@" -in "$file" >"$file.verify" 2>&1 ||
    fail "$file does not verify: $(cat "$file.verify")"
  grep -q '^Signature verification: ok' "$file.verify" || fail "no verified signature on $file: $(cat "$file.verify")"
  grep -q '^Message digest algorithm *: SHA256' "$file.verify" || fail "$file is not signed with SHA-256"
  grep -q 'Subject: /CN=VRX Test signer' "$file.verify" || fail "$file is not signed by the test certificate"
}
signing_time="Signing time: $(LC_ALL=C date -u -d "@$epoch" '+%b %e %H:%M:%S %Y GMT')"
for file in unpacked/one.exe "one/$name-x64.msi"; do
  verified "$file"
  grep -qF "$signing_time" "$file.verify" || fail "$file is not signed at the commit's time: $(cat "$file.verify")"
done

# A byte changed where the signature's digest covers it: in the middle of the
# program's code; in the installer, in a text of its string table.
python3 - unpacked/one.exe changed.exe "one/$name-x64.msi" changed.msi <<'EOF'
import sys
program, changed_program, installer, changed_installer = sys.argv[1:]
data = bytearray(open(program, "rb").read())
data[len(data) // 2] ^= 1
open(changed_program, "wb").write(data)
data = bytearray(open(installer, "rb").read())
at = data.find(b"Control panel for the VRX-2600")
assert at > 0, "no description text in the installer"
data[at] ^= 1
open(changed_installer, "wb").write(data)
EOF
for file in changed.exe changed.msi; do
  ! osslsigncode verify -CAfile ca.pem -in "$file" >"$file.verify" 2>&1 || fail "$file verifies with a byte changed"
  grep -q 'MISMATCH' "$file.verify" || fail "$file fails for another reason than its digest: $(cat "$file.verify")"
done

# A time-stamping server, as a public release would name one.
cat >tsa.cnf <<EOF
[tsa]
default_tsa = test_tsa
[test_tsa]
serial = $work/tsa-serial
signer_cert = $work/stamper.pem
signer_key = $work/stamper.key
certs = $work/ca.pem
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha256
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
echo 01 >tsa-serial
python3 "$root/tests/release/timestamp_server.py" tsa.cnf tsa.port 2>tsa.log &
server_pid=$!
for _ in $(seq 1 200); do [ -s tsa.port ] && break; sleep 0.05; done
[ -s tsa.port ] || fail "the time-stamping server did not start: $(cat tsa.log)"
VRX_SIGN_TIMESTAMP_URL="http://127.0.0.1:$(cat tsa.port)/" release stamped ||
  { cat stamped.log >&2; fail "the time-stamped build failed"; }
unpack stamped
for file in unpacked/stamped.exe "stamped/$name-x64.msi"; do
  verified "$file" -TSA-CAfile ca.pem
  grep -q '^Timestamp Server Signature verification: ok' "$file.verify" ||
    fail "$file carries no verified time stamp: $(cat "$file.verify")"
done
[ "$(grep -c '"POST / ' tsa.log)" -eq 2 ] || fail "the server was not asked once per file: $(cat tsa.log)"

# Builds that must fail: each a case name and its environment.
printf 'wrong\n' >wrong-password.txt
refused=(
  "half a key:VRX_SIGN_PASSWORD_FILE="
  "a wrong password:VRX_SIGN_PASSWORD_FILE=$work/wrong-password.txt"
  "a server that does not answer:VRX_SIGN_TIMESTAMP_URL=http://127.0.0.1:1/"
)
for case in "${refused[@]}"; do
  ! env "${case#*:}" "$root/scripts/package-release.sh" "$program" "$version" "$version" refused >refused.log 2>&1 ||
    fail "a build with ${case%%:*} succeeded"
  [ ! -e refused ] || fail "a build with ${case%%:*} left files"
done
echo "signed twice identically and verified (SHA-256, the commit's time; time-stamped too); a changed byte and ${#refused[@]} bad keys refused"
