#!/usr/bin/env bash
# The Windows build of qx-ppd (the plug-in's way of opening and reading a
# PPD) dumps every sample and every odd input exactly as the native build.
# Usage: ppd_windows_dump_test.sh QX_PPD_EXE NATIVE_QX_PPD SAMPLE_DIR WINE_RUN
set -u
exe=$1; native=$2; samples=$3; wine_run=$4
[ -x "$native" ] || { echo "FAIL: no native build at $native (build the native preset first)"; exit 1; }
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT

# Odd inputs: line ends of every kind inside and outside quotes, 0x1A, control
# and high bytes in every text the dump shows, and a CR LF across the reader's
# 64 KiB block boundary.
python3 - "$tmp" <<'PY'
import os, random, sys
out = sys.argv[1]
def put(name, data): open(os.path.join(out, name), "wb").write(data)
feature = (b"*OpenUI *A/A\x80\xe9: PickOne\r\n*DefaultA: X\r\n*A X/<58>\x01x: \"one\r\ntwo\"\r\n"
           b"*A Y\x81/y\x9d\x7f: \"y\"\n*A Z/z\r: \"z\"\r*CloseUI: *A\r\n")
put("crlf-in-quotes.ppd", b"*ModelName: \"a\r\nb\"\r\n*Product: \"(p\rq\r\r\nr)\"\r\n" + feature)
put("lone-cr.ppd", b"*OpenGroup: G/G\rroup\r*ModelName: \"M\r\"\r" + feature.replace(b"\n", b"\r"))
put("ctrl-z.ppd", b"*ModelName: \"M\"\r\n" + feature + b"\x1a*Product: \"P\"\r\n*OpenUI *B: PickOne\r\n")
put("ctrl-z-in-quotes.ppd", b"*ModelName: \"M\x1aN\"\n*Product: \"P\"\n")
put("cr-at-end.ppd", b"*Manufacturer: \"abc\r")
pad = 65536 - len(b"*ModelName: \"x") - 1
put("crlf-across-blocks.ppd", b"*%" + b"p" * (pad - 3) + b"\n*ModelName: \"x\r\ny\"\r\n" + feature)
rnd = random.Random(7)
special = [b"*", b"%", b"\"", b":", b" ", b"\t", b"\r\n", b"\r", b"\n", b"\x00", b"\x01", b"\x1f",
           b"\x7f", b"\x80", b"\xa0", b"\xe9", b"\xff", b"/", b"<", b">", b"*OpenUI ", b"*CloseUI: ",
           b"*UIConstraints: ", b"*Default", b"*ModelName: ", b"*OpenGroup: "]
for n in range(6):
    parts = [b"*OpenUI *A: PickOne\n"]
    while sum(map(len, parts)) < 20000:
        parts.append(bytes(rnd.choice(b"abcXYZ") for _ in range(rnd.randrange(12))))
        parts.append(rnd.choice(special))
    put("random-%d.ppd" % n, b"".join(parts))
PY
cp "$samples"/*.ppd "$tmp"/

failures=0 count=0
for f in "$tmp"/*.ppd; do
  count=$((count + 1))
  # The dumps and exit codes, not the warnings (they name the path each
  # build was given).
  "$native" dump "$f" > "$tmp/native.out" 2>/dev/null; echo "exit $?" >> "$tmp/native.out"
  # A Wine program now and then dies at start-up: a difference counts when
  # a second run gives it too.
  for try in 1 2; do
    "$wine_run" "$exe" dump "Z:$f" > "$tmp/windows.out" 2>/dev/null; echo "exit $?" >> "$tmp/windows.out"
    cmp -s "$tmp/native.out" "$tmp/windows.out" && break
  done
  if ! cmp -s "$tmp/native.out" "$tmp/windows.out"; then
    echo "FAIL: $(basename "$f") dumps differently"
    diff <(cat -A "$tmp/native.out") <(cat -A "$tmp/windows.out") | head -10
    failures=$((failures + 1))
  fi
done
echo "$((count - failures)) passed, $failures failed"
exit $((failures > 0))
