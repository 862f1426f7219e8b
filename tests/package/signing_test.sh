#!/usr/bin/env bash
# ./qx package --sign with a throwaway certificate: every DLL and program of
# the package, and the copies in the archive, carry a signature that
# osslsigncode verifies; a missing certificate or a wrong password for the key
# fails the command and says why.
# Usage: signing_test.sh SOURCE_DIR
set -u
root=$1; failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1"; echo "  expected: $2"; echo "  actual:   $3"; failures=$((failures + 1))
  fi
}
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
export QX_NO_APT=1 QX_PACKAGE_OUT=$tmp/package
openssl req -x509 -newkey rsa:2048 -days 2 -subj "/CN=quillex test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$tmp/key.pem" -out "$tmp/cert.pem" \
  -passout pass:throwaway 2>/dev/null || { echo "FAIL: openssl could not make a certificate"; exit 1; }

QX_SIGN_PASS=throwaway "$root/qx" package --sign "$tmp/cert.pem" "$tmp/key.pem" > "$tmp/out" 2>&1
check "signed package made" "0" "$?"
files=$(cd "$tmp/package" && find . -name '*.dll' -o -name '*.exe' | sort)
check "the four plug-ins are there" 4 "$(grep -c 'quillex.dll$' <<<"$files")"
for f in $files; do
  osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp/package/$f" > "$tmp/verify" 2>&1
  check "$f verifies" "0 1" "$? $(grep -c 'Signature verification: ok' "$tmp/verify")"
done
# The archive is made after signing: its copies are signed too.
zip=$(ls "$tmp"/quillex-*-windows.zip 2>/dev/null)
python3 -c 'import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); n = [m for m in z.namelist() if m.endswith("nt60/amd64/quillex.dll")][0]; open(sys.argv[2], "wb").write(z.read(n))' \
  "$zip" "$tmp/from-archive.dll"
osslsigncode verify -CAfile "$tmp/cert.pem" -in "$tmp/from-archive.dll" > /dev/null 2>&1
check "the archive holds the signed plug-in" 0 $?

QX_SIGN_PASS=wrong "$root/qx" package --sign "$tmp/cert.pem" "$tmp/key.pem" > "$tmp/out" 2>&1; rc=$?
check "wrong password fails" "1 1" "$rc $(grep -c 'signing .* failed' "$tmp/out")"
"$root/qx" package --sign "$tmp/nothing.pem" "$tmp/key.pem" > "$tmp/out" 2>&1; rc=$?
check "missing certificate fails" "1 1" "$rc $(grep -c "cannot read the signing certificate or key '$tmp/nothing.pem'" "$tmp/out")"

[ "$failures" -eq 0 ] && echo "all signing checks passed"
exit $((failures > 0))
